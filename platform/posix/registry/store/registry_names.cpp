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

bool IsStorableKeyName(std::string_view name) {
    return !name.empty() && name.size() <= kMaxKeyNameBytes && name.find('\\') == std::string_view::npos &&
           IsPlainText(name);
}

bool IsStorableValueName(std::string_view name) {
    return name.size() <= kMaxValueNameBytes && IsPlainText(name);
}

}  // namespace posixplat::reg
