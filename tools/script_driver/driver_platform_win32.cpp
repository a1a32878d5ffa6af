// Windows: the real Win32 platform of the system the driver runs on (under Wine, the
// prefix).
#include "tools/script_driver/driver_platform.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "platform/win32/win32_api.h"
#include "platform/win32/win32_journal_path.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_wide_text.h"

#include <shellapi.h>

namespace scriptdriver {
namespace {

class Win32SystemPlatform : public SystemPlatform {
public:
    plat::Platform& platform() override { return m_platform.platform(); }
    std::filesystem::path JournalPath() const override { return win32plat::TempJournalPath(); }

private:
    win32plat::Win32Platform m_platform;
};

}  // namespace

std::unique_ptr<SystemPlatform> OpenSystemPlatform(const std::optional<std::string>& winePrefix,
                                                   const std::optional<std::string>& sandbox,
                                                   const std::vector<std::string>& discImages, std::string*,
                                                   std::string* error) {
    // On Windows the system is the one the driver runs on, a Wine prefix included.
    if (winePrefix || sandbox) {
        *error = std::string(winePrefix ? "--wine-prefix" : "--sandbox") +
                 " belongs to the Linux build; run this driver under Wine in the prefix instead";
        return nullptr;
    }
    if (!discImages.empty()) {
        *error = "--disc belongs to the Linux build; Windows mounts a disc image itself";
        return nullptr;
    }
    // The driver's output is compared line by line with the Linux build's: no CR
    // before each line feed.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    return std::make_unique<Win32SystemPlatform>();
}

std::string BuildName() { return "Windows, scripted driver"; }

std::vector<std::string> CommandArguments(int, char**) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; wide && i < count; ++i) args.push_back(win32plat::Narrow(wide[i]));
    if (wide) LocalFree(wide);
    return args;
}

}  // namespace scriptdriver
