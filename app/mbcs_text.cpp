#include "app/mbcs_text.h"

#include "platform/ascii.h"
namespace mbcs {
namespace {

unsigned char Byte(const std::string& text, std::string::size_type pos) {
    return static_cast<unsigned char>(text[pos]);
}

}  // namespace

bool IsLeadByte(CodePage codePage, unsigned char byte) {
    if (codePage == plat::kCodePage932) return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    if (codePage == plat::kCodePageUtf8) return byte >= 0xC0;
    return false;
}

std::string::size_type CharLength(CodePage codePage, const std::string& text, std::string::size_type pos) {
    if (pos >= text.size()) return 0;
    const unsigned char lead = Byte(text, pos);
    if (!IsLeadByte(codePage, lead)) return 1;
    if (codePage == plat::kCodePage932) return pos + 1 < text.size() ? 2 : 1;
    // UTF-8: count only the continuation bytes that are really there, so a damaged
    // sequence can never swallow a following backslash or delimiter.
    const std::string::size_type wanted = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    std::string::size_type length = 1;
    while (length < wanted && pos + length < text.size() && (Byte(text, pos + length) & 0xC0) == 0x80) ++length;
    return length;
}

std::string::size_type Find(CodePage codePage, const std::string& text, char ch, std::string::size_type start) {
    for (std::string::size_type pos = 0; pos < text.size(); pos += CharLength(codePage, text, pos)) {
        if (pos >= start && text[pos] == ch && CharLength(codePage, text, pos) == 1) return pos;
    }
    return npos;
}

std::string::size_type FindLast(CodePage codePage, const std::string& text, char ch) {
    std::string::size_type found = npos;
    for (std::string::size_type pos = 0; pos < text.size(); pos += CharLength(codePage, text, pos)) {
        if (text[pos] == ch && CharLength(codePage, text, pos) == 1) found = pos;
    }
    return found;
}

std::string::size_type FindText(CodePage codePage, const std::string& text, const std::string& needle) {
    if (needle.empty()) return 0;
    for (std::string::size_type pos = 0; pos < text.size(); pos += CharLength(codePage, text, pos)) {
        if (text.compare(pos, needle.size(), needle) == 0) return pos;
    }
    return npos;
}

void TrimRight(CodePage codePage, std::string& text, char ch) {
    // The first position of a run of `ch` characters reaching the end of the text.
    std::string::size_type cut = npos;
    for (std::string::size_type pos = 0; pos < text.size(); pos += CharLength(codePage, text, pos)) {
        if (text[pos] == ch && CharLength(codePage, text, pos) == 1) {
            if (cut == npos) cut = pos;
        } else {
            cut = npos;
        }
    }
    if (cut != npos) text.erase(cut);
}

std::string ToLower(CodePage codePage, const std::string& text) {
    std::string lowered = text;
    for (std::string::size_type pos = 0; pos < lowered.size(); pos += CharLength(codePage, lowered, pos)) {
        if (CharLength(codePage, lowered, pos) == 1) lowered[pos] = ascii::ToLower(lowered[pos]);
    }
    return lowered;
}

int CompareNoCase(CodePage codePage, const std::string& a, const std::string& b) {
    return Compare(codePage, ToLower(codePage, a), ToLower(codePage, b));
}

int Compare(CodePage, const std::string& a, const std::string& b) {
    // Byte order is character order for both code pages: a double-byte character compares
    // by its lead byte first, exactly as its 16-bit value would.
    const std::string::size_type n = a.size() < b.size() ? a.size() : b.size();
    for (std::string::size_type i = 0; i < n; ++i) {
        const unsigned char x = Byte(a, i), y = Byte(b, i);
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

}  // namespace mbcs
