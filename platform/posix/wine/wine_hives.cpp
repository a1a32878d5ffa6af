#include "platform/posix/wine/wine_hives.h"

#include "platform/posix/wine/hive/wine_format.h"

namespace posixplat {
namespace {

// Wine's user.reg and system.reg as a new file starts them.
constexpr const char* kWineUserHeader =
    "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n\n#arch=win64\n";
constexpr const char* kWineMachineHeader =
    "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=win64\n";

}  // namespace

std::vector<HiveFile> WinePrefixHives(const std::string& prefix) {
    std::vector<HiveFile> hives;
    hives.push_back(HiveFile{plat::kHkeyCurrentUser, prefix, "user.reg", "HKEY_CURRENT_USER", nullptr,
                             reg::MakeWineFormat(kWineUserHeader)});
    hives.push_back(HiveFile{plat::kHkeyLocalMachine, prefix, "system.reg", "HKEY_LOCAL_MACHINE", nullptr,
                             reg::MakeWineFormat(kWineMachineHeader)});
    return hives;
}

}  // namespace posixplat
