#pragma once
// The order in which Wine keeps the sub-keys and the values of a registry key, and so
// writes them to its files: UTF-16 units compared after mapping each to lower case with
// the table Windows uses, then the shorter name first. '_' therefore sorts before the
// letters here, unlike in the upper-casing order Win32 enumerates in.
#include <string_view>

namespace posixplat::reg {

// The simple lower-case mapping of one UTF-16 unit (the one Wine's server loads from
// l_intl.nls); units without one map to themselves.
char16_t WineLowerCase(char16_t unit);

bool WineNameLess(std::u16string_view a, std::u16string_view b);

}  // namespace posixplat::reg
