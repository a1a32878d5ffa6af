#pragma once
// Searches, trimming, lower-casing and comparisons over byte strings in a multibyte
// ANSI code page. They step over whole characters, so the trail byte of a double-byte
// character (0x5C in "表" = 0x95 0x5C under code page 932) never counts as a
// backslash. Positions and lengths count bytes.
#include <string>

#include "platform/text.h"

namespace mbcs {

using plat::CodePage;
inline constexpr std::string::size_type npos = std::string::npos;

// True when `byte` starts a double-byte character in code page 932.
bool IsLeadByte(CodePage codePage, unsigned char byte);
// Length in bytes of the character starting at `pos` (1 or 2 for 932, 1 to 4 for UTF-8);
// never runs past the end of the text.
std::string::size_type CharLength(CodePage codePage, const std::string& text, std::string::size_type pos);

// Position of the first character `ch` (a single-byte character) at or after `start`.
std::string::size_type Find(CodePage codePage, const std::string& text, char ch, std::string::size_type start = 0);
// Position of the last character `ch`.
std::string::size_type FindLast(CodePage codePage, const std::string& text, char ch);
// Position of the first occurrence of `needle` that starts on a character boundary.
std::string::size_type FindText(CodePage codePage, const std::string& text, const std::string& needle);
// Removes every trailing character `ch` (by default the backslash).
void TrimRight(CodePage codePage, std::string& text, char ch = '\\');
// The text with ASCII letters lower-cased; double-byte characters are left alone.
std::string ToLower(CodePage codePage, const std::string& text);
// _mbsicmp: <0, 0 or >0, ignoring the case of single-byte letters.
int CompareNoCase(CodePage codePage, const std::string& a, const std::string& b);
// _mbscmp: <0, 0 or >0, character by character.
int Compare(CodePage codePage, const std::string& a, const std::string& b);

}  // namespace mbcs
