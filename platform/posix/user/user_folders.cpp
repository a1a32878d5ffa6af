#include "platform/posix/user/user_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace posixplat {

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home == '/') return home;
    const passwd* entry = getpwuid(getuid());
    return entry && entry->pw_dir && *entry->pw_dir ? entry->pw_dir : "/";
}

std::string XdgFolder(const char* variable, const char* fallbackBelowHome) {
    if (const char* value = std::getenv(variable); value && *value == '/') return value;
    const std::string home = HomeFolder();
    return (home == "/" ? std::string() : home) + fallbackBelowHome;
}

std::string LoginName() {
    if (const char* user = std::getenv("USER"); user && *user) return user;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_name) return entry->pw_name;
    return "user";
}

}  // namespace posixplat
