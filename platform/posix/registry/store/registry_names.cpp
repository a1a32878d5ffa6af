#include "platform/posix/registry/store/registry_names.h"

namespace posixplat::reg {
namespace {

char FoldChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::string FoldName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) c = FoldChar(c);
    return folded;
}

bool NamesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldChar(a[i]) != FoldChar(b[i])) return false;
    }
    return true;
}

int CompareNames(std::string_view a, std::string_view b) {
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(FoldChar(a[i]));
        const auto y = static_cast<unsigned char>(FoldChar(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length;
        char32_t code;
        char32_t minimum;
        if ((lead & 0xE0) == 0xC0) {
            length = 2, code = lead & 0x1F, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, code = lead & 0x0F, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, code = lead & 0x07, minimum = 0x10000;
        } else {
            return false;
        }
        if (text.size() - i < length) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto trail = static_cast<unsigned char>(text[i + k]);
            if ((trail & 0xC0) != 0x80) return false;
            code = (code << 6) | (trail & 0x3F);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

bool IsPlainText(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t') return false;
    }
    return IsValidUtf8(text);
}

std::size_t Utf16Units(std::string_view text) {
    std::size_t units = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80) ++units;  // each sequence starts one unit
        if (byte >= 0xF0) ++units;           // and a four-byte one a second
    }
    return units;
}

bool IsStorableKeyName(std::string_view name) {
    return !name.empty() && name.find('\\') == std::string_view::npos && IsPlainText(name) &&
           Utf16Units(name) <= kMaxKeyNameUnits;
}

bool IsStorableValueName(std::string_view name) {
    return IsPlainText(name) && Utf16Units(name) <= kMaxValueNameUnits;
}

}  // namespace posixplat::reg
