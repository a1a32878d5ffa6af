#pragma once
// Sub-key paths as callers pass them ("Software\Velstra\Mirel").
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace posixplat::reg {

// Splits `path` at backslashes. An empty path is the key itself (no components); one
// trailing backslash is ignored. A leading backslash or an empty component in between
// names no key: kErrorFileNotFound (Win32 refuses such paths as well).
plat::RegResult SplitKeyPath(std::string_view path, std::vector<std::string>* components);

// True when both paths name the same key (components compared ignoring case).
bool SamePath(const std::vector<std::string>& a, const std::vector<std::string>& b);

}  // namespace posixplat::reg
