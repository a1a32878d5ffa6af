#pragma once
// ASCII-only character helpers. Names on both platforms compare ASCII letters without
// case and every other byte exactly: no multibyte character of UTF-8 or code page 932
// has a lead byte in the ASCII letters, and the trail bytes that do are never folded by
// Windows either, so byte-wise ASCII folding is what every caller here needs.
#include <cstddef>
#include <string>
#include <string_view>

namespace ascii {

constexpr char ToUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
constexpr char ToLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string LowerCased(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered) c = ToLower(c);
    return lowered;
}

inline std::string UpperCased(std::string_view text) {
    std::string uppered(text);
    for (char& c : uppered) c = ToUpper(c);
    return uppered;
}

constexpr bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (ToLower(a[i]) != ToLower(b[i])) return false;
    }
    return true;
}

// <0, 0 or >0 as `a` sorts before, with or after `b` when each byte is folded by `fold`,
// bytes compared unsigned. The fold matters for the six bytes between 'Z' and 'a'.
constexpr int CompareFolded(std::string_view a, std::string_view b, char (*fold)(char)) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = static_cast<unsigned char>(fold(a[i]));
        const unsigned char y = static_cast<unsigned char>(fold(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// The order with ASCII letters folded to upper case, as the registry sorts key names.
constexpr int CompareIgnoringCase(std::string_view a, std::string_view b) { return CompareFolded(a, b, ToUpper); }

// The value of a hexadecimal digit in either case, or -1.
constexpr int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

constexpr bool IsHexDigit(char c) { return HexValue(c) >= 0; }

inline constexpr char kUpperHexDigits[] = "0123456789ABCDEF";
inline constexpr char kLowerHexDigits[] = "0123456789abcdef";

}  // namespace ascii
