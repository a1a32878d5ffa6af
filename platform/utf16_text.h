#pragma once
// UTF-8 and UTF-16, converted one code point at a time. The strict conversions refuse
// what is not valid text (overlong forms, encoded surrogates, truncated sequences, lone
// surrogates); the one for reading keeps what can be read of a damaged name.
#include <cstddef>
#include <string>
#include <string_view>

namespace plat {

// The code point of the valid UTF-8 sequence at `*pos`, and `*pos` past it; false, with
// `*pos` left alone, when the bytes there are not a valid sequence.
bool DecodeUtf8(std::string_view text, std::size_t* pos, char32_t* code);

// `code` (at most U+10FFFF) appended in UTF-8 / in UTF-16 (a surrogate pair above U+FFFF).
void AppendUtf8(std::string& out, char32_t code);
void AppendUtf16(std::u16string& out, char32_t code);

bool Utf8ToUtf16(std::string_view text, std::u16string* wide);
bool Utf16ToUtf8(std::u16string_view wide, std::string* text);

// For people to read (traces, the install journal): a lone surrogate comes out as its
// own three bytes.
std::string Utf16ToUtf8ForReading(std::u16string_view wide);

}  // namespace plat
