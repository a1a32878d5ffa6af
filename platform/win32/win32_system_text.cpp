#include "platform/win32/win32_system_text.h"

#include "platform/utf16_text.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_wide_text.h"

namespace win32plat {

// The system's own code page (GetACP) is not the program's: 1252 or 936 cannot hold the
// product's Japanese texts, and 932 not every user's folder names.
plat::CodePage Win32SystemText::AnsiCodePage() { return plat::kCodePageUtf8; }

std::string Win32SystemText::LoadString(unsigned id) {
    // With no buffer the call hands out the resource's own read-only text, not
    // terminated, and its length: nothing can be cut.
    const wchar_t* text = nullptr;
    const int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<wchar_t*>(&text), 0);
    if (length <= 0 || text == nullptr) return {};
    return Narrow(text, static_cast<std::size_t>(length));
}

bool Win32SystemText::ToUtf16(const std::string& text, std::size_t capacity, std::u16string* wide) {
    return plat::Utf8ToUtf16Within(text, capacity, wide);
}

}  // namespace win32plat
