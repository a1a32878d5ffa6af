#pragma once
#include <string>

// A configuration number read the way atoi reads it: leading blanks, an optional sign,
// the digits that follow; anything else (or nothing) counts as 0. Out-of-range values
// are clamped instead of overflowing.
int ConfigNumber(const std::string& text);
