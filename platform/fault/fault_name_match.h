#pragma once
// The name matching of the plan's faults by name. Private to the fault platform.
#include <string>

#include "platform/text.h"

namespace faultplat {

// True when the last component of `path` (trailing separators ignored) equals `name`,
// ignoring the case of ASCII letters; double-byte characters of code page 932 are
// stepped over whole, so a trail byte is neither a separator nor a letter.
bool LastComponentEquals(plat::CodePage codePage, const std::string& path, const std::string& name);

}  // namespace faultplat
