#pragma once
// Quoted text in Wine's registry files: UTF-16 units written as ASCII, every unit above
// 0x7F as \x and its hex digits, control characters as C escapes (\t, \n, \e ...) or
// octal, and a backslash before a backslash and before the quoting characters.
#include <cstddef>
#include <string>
#include <string_view>

namespace posixplat::reg {

// Appends `units` as Wine writes them, with a backslash also before `quote1` and
// `quote2` ('"' for names and data, '[' and ']' for key names). Returns the number of
// bytes appended, which Wine counts to wrap long hex data.
//
// The escapes are chosen as Wine chooses them, since the reader takes at most four hex
// digits and three octal digits: a unit above 0x7F gets four digits (\x00e9) when an
// ASCII hex digit follows it and as few as it needs otherwise (\xe9); a control
// character without a letter escape gets three octal digits (\001) when an octal digit
// follows it and as few as it needs otherwise (\1).
std::size_t AppendWineEscaped(std::string& out, std::u16string_view units, char quote1, char quote2);

// Reads text as Wine reads it, up to the first unescaped `end`: escapes as above (an
// unknown one stands for the character after the backslash, \x without a hex digit for
// 'x'), other bytes as UTF-8, dropping what is not a character, as Wine does. False when
// `end` is missing; otherwise `*consumed` counts the bytes read including `end`.
bool ParseWineEscaped(std::string_view text, char end, std::u16string* units, std::size_t* consumed);

}  // namespace posixplat::reg
