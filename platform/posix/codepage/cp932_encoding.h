#pragma once
// UTF-16 to code page 932, for the ANSI copy of a shell link's target path: a link read
// by a system whose ANSI code page is 932 finds its target only through these bytes.
#include <string>

namespace posixplat {

// Encodes `wide` in code page 932. A character that has no exact counterpart there
// (including one outside the Basic Multilingual Plane and an unpaired surrogate) becomes
// '?', which can never be part of a file name, so the result never names some other file.
std::string Utf16ToCp932(const std::u16string& wide);

}  // namespace posixplat
