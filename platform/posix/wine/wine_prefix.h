#pragma once
// A Wine prefix as the system to install into: where it is, and whether a folder is one.
#include <string>

namespace posixplat {

// The prefix Wine itself would use: $WINEPREFIX, else ~/.wine.
std::string DefaultWinePrefix();

// Checks that `dir` is a Wine prefix (a folder holding system.reg and dosdevices/) and
// gives it as an absolute path without trailing slashes. False with the reason otherwise.
bool ResolveWinePrefix(const std::string& dir, std::string* prefix, std::string* error);

}  // namespace posixplat
