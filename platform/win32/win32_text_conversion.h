#pragma once
// Text between the ANSI code page the core works in, UTF-8 and UTF-16, through the
// system's own conversions. A character the target cannot hold becomes its replacement
// or default character; none of these fails.
#include <string>

namespace win32plat {

std::string Utf8ToAnsi(const std::string& utf8);
std::string AnsiToUtf8(const std::string& ansi);
std::string WideToUtf8(const std::wstring& wide);

}  // namespace win32plat
