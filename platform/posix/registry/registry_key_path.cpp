#include "platform/posix/registry/registry_key_path.h"

#include "platform/posix/registry/store/registry_names.h"

namespace posixplat::reg {

plat::RegResult SplitKeyPath(std::string_view path, std::vector<std::string>* components) {
    components->clear();
    if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
    if (path.empty()) return plat::kErrorSuccess;
    for (;;) {
        const std::size_t slash = path.find('\\');
        const std::string_view name = path.substr(0, slash);
        if (name.empty()) {
            components->clear();
            return plat::kErrorFileNotFound;
        }
        components->emplace_back(name);
        if (slash == std::string_view::npos) return plat::kErrorSuccess;
        path.remove_prefix(slash + 1);
    }
}

bool SamePath(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!NamesEqual(a[i], b[i])) return false;
    }
    return true;
}

}  // namespace posixplat::reg
