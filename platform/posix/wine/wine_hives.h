#pragma once
// A Wine prefix's registry files: HKEY_CURRENT_USER is <prefix>/user.reg and
// HKEY_LOCAL_MACHINE <prefix>/system.reg, in Wine's own format. Other predefined keys
// have no file there.
#include <string>
#include <vector>

#include "platform/posix/registry/posix_registry.h"

namespace posixplat {

std::vector<HiveFile> WinePrefixHives(const std::string& prefix);

}  // namespace posixplat
