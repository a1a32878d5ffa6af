#include "platform/win32/win32_system_text.h"

#include "platform/win32/win32_api.h"

#include <vector>

namespace win32plat {

plat::CodePage Win32SystemText::AnsiCodePage() { return GetACP(); }

std::string Win32SystemText::LoadString(unsigned id) {
    const HINSTANCE module = GetModuleHandleA(nullptr);
    // LoadStringA reports a truncated copy only by filling the buffer; grow until the
    // text leaves room to spare.
    std::vector<char> buffer(512);
    for (;;) {
        const int length = LoadStringA(module, id, buffer.data(), static_cast<int>(buffer.size()));
        if (length <= 0) return {};
        if (static_cast<std::size_t>(length) + 1 < buffer.size()) return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

bool Win32SystemText::ToUtf16(const std::string& text, std::size_t capacity, std::u16string* wide) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    if (capacity == 0) return false;
    std::vector<wchar_t> buffer(capacity);
    const int units = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED | MB_ERR_INVALID_CHARS, text.c_str(),
                                          static_cast<int>(text.size()) + 1, buffer.data(),
                                          static_cast<int>(capacity));
    if (units <= 0) return false;
    wide->assign(reinterpret_cast<const char16_t*>(buffer.data()), static_cast<std::size_t>(units - 1));
    return true;
}

}  // namespace win32plat
