#include "platform/posix/wine/wine_prefix.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/posix/user/user_folders.h"

namespace posixplat {

std::string DefaultWinePrefix() {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix) return prefix;
    const std::string home = HomeFolder();
    return (home == "/" ? std::string() : home) + "/.wine";
}

bool ResolveWinePrefix(const std::string& dir, std::string* prefix, std::string* error) {
    std::error_code ec;
    std::string absolute = std::filesystem::absolute(dir, ec).lexically_normal().string();
    if (ec || dir.empty()) {
        *error = "cannot make " + dir + " an absolute path";
        return false;
    }
    while (absolute.size() > 1 && absolute.back() == '/') absolute.pop_back();
    struct stat info;
    if (::stat(absolute.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        *error = absolute + " is not a Wine prefix: " + (errno == ENOENT ? "there is no such folder" : "not a folder");
        return false;
    }
    if (::stat((absolute + "/system.reg").c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        *error = absolute + " is not a Wine prefix: it has no system.reg (run a program under Wine there once)";
        return false;
    }
    if (::stat((absolute + "/dosdevices").c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        *error = absolute + " is not a Wine prefix: it has no dosdevices folder";
        return false;
    }
    *prefix = std::move(absolute);
    return true;
}

}  // namespace posixplat
