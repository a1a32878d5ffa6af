// Windows: the real Win32 platform of the system the driver runs on (under Wine, the
// prefix); text converted between UTF-8 and the ANSI code page through UTF-16.
#include "tools/script_driver/driver_platform.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "platform/win32/win32_api.h"
#include "platform/win32/win32_platform.h"

namespace scriptdriver {
namespace {

class Win32SystemPlatform : public SystemPlatform {
public:
    plat::Platform& platform() override { return m_platform.platform(); }

private:
    win32plat::Win32Platform m_platform;
};

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

std::unique_ptr<SystemPlatform> OpenSystemPlatform(const std::optional<std::string>& winePrefix, std::string*,
                                                   std::string* error) {
    // On Windows the system is the one the driver runs on, a Wine prefix included.
    if (winePrefix) {
        *error = "--wine-prefix belongs to the Linux build; run this driver under Wine in the prefix instead";
        return nullptr;
    }
    // The driver's output is compared line by line with the Linux build's: no CR
    // before each line feed.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    return std::make_unique<Win32SystemPlatform>();
}

std::string Utf8ToAnsi(const std::string& utf8) { return FromWide(CP_ACP, ToWide(CP_UTF8, utf8)); }

std::string AnsiToUtf8(const std::string& ansi) { return FromWide(CP_UTF8, ToWide(CP_ACP, ansi)); }

}  // namespace scriptdriver
