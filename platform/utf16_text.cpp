#include "platform/utf16_text.h"

namespace plat {
namespace {

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The code point at `*i`, a surrogate pair joined; `*i` moves past it. A lone surrogate
// comes back as it is.
char32_t NextCodePoint(std::u16string_view wide, std::size_t* i) {
    const char32_t unit = wide[(*i)++];
    if (IsHighSurrogate(unit) && *i < wide.size() && IsLowSurrogate(wide[*i])) {
        return 0x10000 + ((unit - 0xD800) << 10) + (wide[(*i)++] - 0xDC00);
    }
    return unit;
}

}  // namespace

bool DecodeUtf8(std::string_view text, std::size_t* pos, char32_t* code) {
    const std::size_t i = *pos;
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length;
    char32_t value;
    char32_t minimum;
    if (lead < 0x80) {
        length = 1, value = lead, minimum = 0;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        return false;
    }
    if (text.size() - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
        const auto trail = static_cast<unsigned char>(text[i + k]);
        if ((trail & 0xC0) != 0x80) return false;
        value = (value << 6) | (trail & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
    *code = value;
    *pos = i + length;
    return true;
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

void AppendUtf16(std::u16string& out, char32_t code) {
    if (code < 0x10000) {
        out.push_back(static_cast<char16_t>(code));
        return;
    }
    code -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 | (code >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 | (code & 0x3FF)));
}

bool Utf8ToUtf16(std::string_view text, std::u16string* wide) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t code;
        if (!DecodeUtf8(text, &i, &code)) return false;
        AppendUtf16(out, code);
    }
    *wide = std::move(out);
    return true;
}

bool Utf16ToUtf8(std::u16string_view wide, std::string* text) {
    std::string out;
    for (std::size_t i = 0; i < wide.size();) {
        const char32_t code = NextCodePoint(wide, &i);
        if (IsHighSurrogate(code) || IsLowSurrogate(code)) return false;
        AppendUtf8(out, code);
    }
    *text = std::move(out);
    return true;
}

std::string Utf16ToUtf8ForReading(std::u16string_view wide) {
    std::string text;
    for (std::size_t i = 0; i < wide.size();) AppendUtf8(text, NextCodePoint(wide, &i));
    return text;
}

}  // namespace plat
