#include "platform/posix/codepage/posix_system_text.h"

#include "res/resource_tables.h"

namespace posixplat {

plat::CodePage PosixSystemText::AnsiCodePage() { return plat::kCodePageUtf8; }

std::string PosixSystemText::LoadString(unsigned id) {
    const char* text = res::CompiledString(id);
    return text ? std::string(text) : std::string();
}

bool PosixSystemText::ToUtf16(const std::string& text, std::size_t capacity, std::u16string* wide) {
    std::u16string converted;
    if (!Utf8ToUtf16(text, &converted)) return false;
    if (converted.size() + 1 > capacity) return false;
    *wide = std::move(converted);
    return true;
}

bool Utf8ToUtf16(const std::string& text, std::u16string* wide) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        char32_t cp;
        std::size_t length;
        char32_t minimum;
        if (lead < 0x80) {
            cp = lead; length = 1; minimum = 0;
        } else if ((lead & 0xE0) == 0xC0) {
            cp = lead & 0x1F; length = 2; minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            cp = lead & 0x0F; length = 3; minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            cp = lead & 0x07; length = 4; minimum = 0x10000;
        } else {
            return false;
        }
        if (i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const unsigned char trail = static_cast<unsigned char>(text[i + k]);
            if ((trail & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (trail & 0x3F);
        }
        if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += length;
    }
    *wide = std::move(out);
    return true;
}

bool Utf16ToUtf8(const std::u16string& wide, std::string* text) {
    std::string out;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t cp = wide[i];
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            if (i + 1 >= wide.size() || wide[i + 1] < 0xDC00 || wide[i + 1] > 0xDFFF) return false;
            cp = 0x10000 + ((cp - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
            return false;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    *text = std::move(out);
    return true;
}

}  // namespace posixplat
