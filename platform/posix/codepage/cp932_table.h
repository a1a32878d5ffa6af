#pragma once
// The table behind Utf16ToCp932: generated at build time (cp932/gen_cp932_table.cpp).
#include <cstddef>
#include <cstdint>

namespace posixplat {

struct Cp932Entry {
    char16_t unit;
    std::uint16_t bytes;  // a single byte (0x00A1-0x00DF) or lead << 8 | trail
};

// Sorted by unit; characters from U+0080 up that survive a round trip through code
// page 932. ASCII is not in it: it maps to itself.
extern const Cp932Entry kCp932Table[];
extern const std::size_t kCp932TableSize;

}  // namespace posixplat
