#include "platform/posix/wine/hive/wine_string_escapes.h"

#include <cstdint>
#include <string>

#include "platform/ascii.h"
#include "platform/utf16_text.h"

namespace posixplat::reg {
namespace {

bool IsOctalDigit(char16_t c) { return c >= '0' && c <= '7'; }

// The letter of the C escape of each control character, or '.' for none.
constexpr char kControlEscapes[33] = ".......abtnvfr.............e....";

void AppendDigits(std::string& out, std::uint32_t value, unsigned base, int minimum) {
    char digits[16];
    int count = 0;
    do {
        digits[count++] = ascii::kLowerHexDigits[value % base];
        value /= base;
    } while (value != 0 || count < minimum);
    while (count > 0) out += digits[--count];
}

// Wine reads raw bytes as UTF-8 but drops, without a trace, a sequence it cannot use:
// a stray or invalid lead byte alone, a lead byte with the continuation bytes read so
// far, an overlong form, anything above U+10FFFF. Encoded surrogates are taken as they are.
void DecodeUtf8Like(std::string_view text, std::size_t* i, std::u16string* units) {
    const unsigned char lead = static_cast<unsigned char>(text[(*i)++]);
    int trailing;
    std::uint32_t value;
    std::uint32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF) {
        trailing = 1, value = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        trailing = 2, value = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        trailing = 3, value = lead & 0x07, minimum = 0x10000;
    } else {
        return;
    }
    for (int k = 0; k < trailing; ++k) {
        if (*i >= text.size()) return;
        const unsigned char next = static_cast<unsigned char>(text[*i]) ^ 0x80;
        if (next >= 0x40) return;
        value = (value << 6) | next;
        ++*i;
    }
    if (value < minimum || value > 0x10FFFF) return;
    plat::AppendUtf16(*units, value);
}

}  // namespace

std::size_t AppendWineEscaped(std::string& out, std::u16string_view units, char quote1, char quote2) {
    const std::size_t before = out.size();
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        const bool hasNext = i + 1 < units.size();
        const char16_t next = hasNext ? units[i + 1] : 0;
        if (unit > 0x7F) {
            out += "\\x";
            AppendDigits(out, unit, 16, hasNext && next < 0x80 && ascii::IsHexDigit(static_cast<char>(next)) ? 4 : 1);
        } else if (unit < 0x20) {
            out += '\\';
            if (kControlEscapes[unit] != '.') {
                out += kControlEscapes[unit];
            } else {
                AppendDigits(out, unit, 8, hasNext && IsOctalDigit(next) ? 3 : 1);
            }
        } else {
            const char c = static_cast<char>(unit);
            if (c == '\\' || c == quote1 || c == quote2) out += '\\';
            out += c;
        }
    }
    return out.size() - before;
}

bool ParseWineEscaped(std::string_view text, char end, std::u16string* units, std::size_t* consumed) {
    units->clear();
    std::size_t i = 0;
    while (i < text.size() && text[i] != end) {
        if (text[i] == '\\') {
            if (++i >= text.size()) return false;
            const char c = text[i];
            const char* letter = c == '.' ? nullptr : std::char_traits<char>::find(kControlEscapes, 32, c);
            if (letter) {
                units->push_back(static_cast<char16_t>(letter - kControlEscapes));
                ++i;
                continue;
            }
            if (c == 'x') {
                ++i;
                if (i >= text.size() || !ascii::IsHexDigit(text[i])) {
                    units->push_back(u'x');
                    continue;
                }
                char16_t value = 0;
                for (int k = 0; k < 4 && i < text.size() && ascii::IsHexDigit(text[i]); ++k) {
                    value = static_cast<char16_t>(value * 16 + ascii::HexValue(text[i++]));
                }
                units->push_back(value);
                continue;
            }
            if (IsOctalDigit(static_cast<unsigned char>(c))) {
                char16_t value = 0;
                for (int k = 0; k < 3 && i < text.size() && IsOctalDigit(static_cast<unsigned char>(text[i])); ++k) {
                    value = static_cast<char16_t>(value * 8 + (text[i++] - '0'));
                }
                units->push_back(value);
                continue;
            }
            // Any other character stands for itself.
        }
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            units->push_back(static_cast<unsigned char>(text[i++]));
        } else {
            DecodeUtf8Like(text, &i, units);
        }
    }
    if (i >= text.size()) return false;
    *consumed = i + 1;
    return true;
}

}  // namespace posixplat::reg
