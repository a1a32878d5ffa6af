#pragma once
// Icon 128 of our own resources (res/icon128.ico), built in as the bytes of the .ico file:
// the launcher's icon when the program it starts has none.
#include <cstddef>

namespace posixplat {

extern const unsigned char kOwnIconFile[];
extern const std::size_t kOwnIconFileSize;

}  // namespace posixplat
