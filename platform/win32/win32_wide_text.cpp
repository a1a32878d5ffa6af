#include "platform/win32/win32_wide_text.h"

#include "platform/utf16_text.h"
#include "platform/win32/win32_api.h"

namespace win32plat {

// wchar_t is the same 16-bit unit as char16_t on this target.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::optional<std::wstring> Wide(const char* text, std::size_t size) {
    std::u16string units;
    if (!plat::Utf8ToUtf16(std::string_view(text, size), &units)) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return std::nullopt;
    }
    return std::wstring(reinterpret_cast<const wchar_t*>(units.data()), units.size());
}

std::optional<std::wstring> Wide(const std::string& text) { return Wide(text.data(), text.size()); }

std::string Narrow(const wchar_t* wide, std::size_t length) {
    return plat::Utf16ToUtf8ForReading(std::u16string_view(reinterpret_cast<const char16_t*>(wide), length));
}

std::string Narrow(const std::wstring& wide) { return Narrow(wide.data(), wide.size()); }

std::string Narrow(const wchar_t* wide) { return Narrow(wide, wcslen(wide)); }

}  // namespace win32plat
