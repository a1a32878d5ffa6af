#pragma once
// UTF-8, the program's narrow text on every build, and the UTF-16 of Windows names.
// Windows names need not be valid UTF-16: a lone surrogate comes out as its own three
// bytes, and the way back takes those bytes again when asked to, so any name the
// system hands out is given back to it unit for unit.
#include <cstdint>
#include <string>

namespace plat {

inline std::string Utf16ToUtf8(const std::u16string& wide) {
    std::string text;
    text.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        std::uint32_t code = wide[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (wide[++i] - 0xDC00);
        }
        if (code < 0x80) {
            text += static_cast<char>(code);
        } else if (code < 0x800) {
            text += static_cast<char>(0xC0 | (code >> 6));
            text += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            text += static_cast<char>(0xE0 | (code >> 12));
            text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            text += static_cast<char>(0xF0 | (code >> 18));
            text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return text;
}

// Whether the way back takes a lone surrogate's three bytes (names of the system) or
// refuses them as malformed UTF-8 (text that must be valid, such as a hive file's).
enum class LoneSurrogates { kRefused, kKept };

// Decodes UTF-8 into UTF-16; false on malformed input (overlong forms, truncated
// sequences, code points past U+10FFFF, and surrogates unless kept).
inline bool Utf8ToUtf16(const std::string& text, std::u16string* wide,
                        LoneSurrogates surrogates = LoneSurrogates::kRefused) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        char32_t code;
        std::size_t length;
        char32_t minimum;
        if (lead < 0x80) {
            code = lead, length = 1, minimum = 0;
        } else if ((lead & 0xE0) == 0xC0) {
            code = lead & 0x1F, length = 2, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            code = lead & 0x0F, length = 3, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            code = lead & 0x07, length = 4, minimum = 0x10000;
        } else {
            return false;
        }
        if (i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const unsigned char trail = static_cast<unsigned char>(text[i + k]);
            if ((trail & 0xC0) != 0x80) return false;
            code = (code << 6) | (trail & 0x3F);
        }
        if (code < minimum || code > 0x10FFFF) return false;
        if (code >= 0xD800 && code <= 0xDFFF && surrogates == LoneSurrogates::kRefused) return false;
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
        i += length;
    }
    *wide = std::move(out);
    return true;
}

// Into a buffer of `capacity` UTF-16 units: false when the text is not UTF-8 or when it
// needs more units than that with its terminator.
inline bool Utf8ToUtf16Within(const std::string& text, std::size_t capacity, std::u16string* wide) {
    std::u16string converted;
    if (!Utf8ToUtf16(text, &converted) || converted.size() + 1 > capacity) return false;
    *wide = std::move(converted);
    return true;
}

}  // namespace plat
