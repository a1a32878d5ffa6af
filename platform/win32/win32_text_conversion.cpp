#include "platform/win32/win32_text_conversion.h"

#include "platform/win32/win32_api.h"

namespace win32plat {
namespace {

std::wstring ToWide(UINT codePage, const std::string& text) {
    if (text.empty()) return {};
    // Without MB_ERR_INVALID_CHARS a malformed sequence becomes U+FFFD instead of failing.
    const int units = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (units <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), units);
    return wide;
}

std::string FromWide(UINT codePage, const std::wstring& wide) {
    if (wide.empty()) return {};
    // A character the code page lacks becomes its default character ('?').
    const int bytes =
        WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return {};
    std::string text(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), bytes, nullptr,
                        nullptr);
    return text;
}

}  // namespace

std::string Utf8ToAnsi(const std::string& utf8) { return FromWide(CP_ACP, ToWide(CP_UTF8, utf8)); }

std::string AnsiToUtf8(const std::string& ansi) { return FromWide(CP_UTF8, ToWide(CP_ACP, ansi)); }

std::string WideToUtf8(const std::wstring& wide) { return FromWide(CP_UTF8, wide); }

}  // namespace win32plat
