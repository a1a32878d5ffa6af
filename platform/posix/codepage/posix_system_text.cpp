#include "platform/posix/codepage/posix_system_text.h"

#include "platform/utf16_text.h"
#include "res/resource_tables.h"

namespace posixplat {

plat::CodePage PosixSystemText::AnsiCodePage() { return plat::kCodePageUtf8; }

std::string PosixSystemText::LoadString(unsigned id) {
    const char* text = res::CompiledString(id);
    return text ? std::string(text) : std::string();
}

bool PosixSystemText::ToUtf16(const std::string& text, std::size_t capacity, std::u16string* wide) {
    std::u16string converted;
    if (!plat::Utf8ToUtf16(text, &converted)) return false;
    if (converted.size() + 1 > capacity) return false;
    *wide = std::move(converted);
    return true;
}

}  // namespace posixplat
