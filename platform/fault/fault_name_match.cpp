#include "platform/fault/fault_name_match.h"

#include <vector>

#include "platform/ascii.h"

namespace faultplat {
namespace {

bool IsLeadByte(plat::CodePage codePage, unsigned char byte) {
    return codePage == plat::kCodePage932 && ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC));
}

std::size_t CharLength(plat::CodePage codePage, const std::string& text, std::size_t pos) {
    return (IsLeadByte(codePage, static_cast<unsigned char>(text[pos])) && pos + 1 < text.size()) ? 2 : 1;
}

std::string LastComponent(plat::CodePage codePage, const std::string& path) {
    std::string current;
    std::string last;
    for (std::size_t pos = 0; pos < path.size();) {
        const std::size_t length = CharLength(codePage, path, pos);
        if (length == 1 && (path[pos] == '\\' || path[pos] == '/')) {
            if (!current.empty()) last = current;
            current.clear();
        } else {
            current.append(path, pos, length);
        }
        pos += length;
    }
    return current.empty() ? last : current;
}

}  // namespace

bool LastComponentEquals(plat::CodePage codePage, const std::string& path, const std::string& name) {
    const std::string component = LastComponent(codePage, path);
    if (component.size() != name.size()) return false;
    for (std::size_t pos = 0; pos < component.size();) {
        const std::size_t length = CharLength(codePage, component, pos);
        if (length != CharLength(codePage, name, pos)) return false;
        if (length == 1) {
            if (ascii::ToLower(component[pos]) != ascii::ToLower(name[pos])) return false;
        } else if (component.compare(pos, length, name, pos, length) != 0) {
            return false;
        }
        pos += length;
    }
    return true;
}

}  // namespace faultplat
