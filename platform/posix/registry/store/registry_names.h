#pragma once
// Names in the registry store: compared ignoring ASCII letter case (the Win32 registry
// folds case; bytes above 0x7F are UTF-8 and compared as they are), and checked for what
// the REGEDIT4 text can hold on one line.
#include <string>
#include <string_view>

namespace posixplat::reg {

// Win32 sorts registry names upper-cased, so '_' comes after the letters.
std::string FoldName(std::string_view name);
bool NamesEqual(std::string_view a, std::string_view b);
// Negative, zero or positive as FoldName(a) sorts before, with or after FoldName(b)
// (bytes compared unsigned), without making either.
int CompareNames(std::string_view a, std::string_view b);

// Valid UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);

// Text that fits on one line of the hive file: valid UTF-8, no control character other
// than tab (so no line break and no zero byte).
bool IsPlainText(std::string_view text);

// Win32 limits a key name to 255 characters and a value name to 16383.
inline constexpr std::size_t kMaxKeyNameBytes = 255;
inline constexpr std::size_t kMaxValueNameBytes = 16383;

// A key name that can be created: plain text, not empty, no backslash, within the limit.
bool IsStorableKeyName(std::string_view name);
// A value name that can be stored (empty is the default value).
bool IsStorableValueName(std::string_view name);

}  // namespace posixplat::reg
