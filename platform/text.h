#pragma once
// Text as the core holds it: byte strings in one code page (SystemText::AnsiCodePage).
#include <string>

namespace plat {

// Windows code page numbers; 932 is the Japanese double-byte page, 65001 is UTF-8.
using CodePage = unsigned;
inline constexpr CodePage kCodePage932 = 932;
inline constexpr CodePage kCodePageUtf8 = 65001;

}  // namespace plat
