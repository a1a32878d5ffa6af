#pragma once
// The running user's own folders and name, as the freedesktop conventions find them.
#include <string>

namespace posixplat {

// $HOME when it is an absolute path, else the home folder of the user database, else "/".
std::string HomeFolder();

// The folder named by the XDG variable `variable` when it is an absolute path (a
// relative one is invalid and ignored), else HomeFolder() + `fallbackBelowHome`
// ("/.local/share" for XDG_DATA_HOME, say).
std::string XdgFolder(const char* variable, const char* fallbackBelowHome);

// $USER, else the name of the user database, else "user".
std::string LoginName();

}  // namespace posixplat
