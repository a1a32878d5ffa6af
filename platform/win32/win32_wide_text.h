#pragma once
// The boundary between the program's UTF-8 and the UTF-16 of the W functions. Nothing
// passes through the system's ANSI code page, so the texts and names are the same on a
// Japanese, English, German, Chinese or Korean system.
#include <optional>
#include <string>

namespace win32plat {

// Null, with ERROR_NO_UNICODE_TRANSLATION as the thread's last error, for text that is
// not UTF-8: the call it was meant for fails rather than touch some other name.
std::optional<std::wstring> Wide(const std::string& text);
std::optional<std::wstring> Wide(const char* text, std::size_t size);

// A name the system hands out is exact unless it is not valid UTF-16 (a lone surrogate,
// which NTFS allows): that comes out as the surrogate's own three bytes, which Wide then
// refuses, so such a file is never mistaken for another.
std::string Narrow(const wchar_t* wide, std::size_t length);
std::string Narrow(const std::wstring& wide);
// Up to the terminating zero.
std::string Narrow(const wchar_t* wide);

}  // namespace win32plat
