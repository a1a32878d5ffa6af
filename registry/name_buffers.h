#pragma once
// Sizes of the byte buffers that registry names and values are read into. A name the
// system can make must never be cut, or end a listing early, in the core's code page:
// Windows allows 255 UTF-16 units in a key name, which take up to 510 bytes in code
// page 932 and up to 765 in UTF-8 (three bytes a unit; a character beyond the basic
// plane is four bytes for two units).
#include <cstdint>

#include "platform/text.h"

namespace registry {

inline constexpr std::uint32_t kLongestKeyNameUnits = 255;
// The value buffer of a Japanese system: 511 bytes of code page 932 text and a zero.
inline constexpr std::uint32_t kReadBufferSize932 = 512;

// The most bytes one UTF-16 unit of a name takes in `codePage`.
constexpr std::uint32_t MostBytesPerUnit(plat::CodePage codePage) {
    return codePage == plat::kCodePageUtf8 ? 3 : 2;
}

// A key name of the longest kind with its terminator.
constexpr std::uint32_t KeyNameBufferSize(plat::CodePage codePage) {
    return kLongestKeyNameUnits * MostBytesPerUnit(codePage) + 1;
}

// Whatever a Japanese system reads back whole reads back whole in `codePage` too: each
// byte of 932 text is at most three in UTF-8 (a half-width katakana is one byte in 932).
constexpr std::uint32_t ReadBufferSize(plat::CodePage codePage) {
    return codePage == plat::kCodePageUtf8 ? (kReadBufferSize932 - 1) * 3 + 1 : kReadBufferSize932;
}

}  // namespace registry
