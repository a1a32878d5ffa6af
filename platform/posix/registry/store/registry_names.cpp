#include "platform/posix/registry/store/registry_names.h"

#include "platform/ascii.h"
#include "platform/utf16_text.h"

namespace posixplat::reg {

std::string FoldName(std::string_view name) { return ascii::UpperCased(name); }

bool NamesEqual(std::string_view a, std::string_view b) { return ascii::EqualIgnoringCase(a, b); }

int CompareNames(std::string_view a, std::string_view b) { return ascii::CompareIgnoringCase(a, b); }

bool IsValidUtf8(std::string_view text) {
    char32_t code;
    for (std::size_t i = 0; i < text.size();) {
        if (!plat::DecodeUtf8(text, &i, &code)) return false;
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
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80) ++units;  // a character starts here
        if ((byte & 0xF8) == 0xF0) ++units;  // and needs a surrogate pair
    }
    return units;
}

bool IsStorableKeyName(std::string_view name) {
    return !name.empty() && Utf16Units(name) <= kMaxKeyNameUnits && name.find('\\') == std::string_view::npos &&
           IsPlainText(name);
}

bool IsStorableValueName(std::string_view name) {
    return Utf16Units(name) <= kMaxValueNameUnits && IsPlainText(name);
}

}  // namespace posixplat::reg
