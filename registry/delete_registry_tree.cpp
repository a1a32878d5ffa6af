// Removing a key with everything below it, depth first, and then its parent if that
// is left with neither sub-keys nor values. The registry itself only deletes keys that
// have no sub-keys.
#include <cstdint>
#include <vector>

#include "app/installer_dlg.h"
#include "app/mbcs_text.h"
#include "registry/name_buffers.h"
#include "registry/reg_key.h"

namespace {

// Enough to list a key's sub-keys, delete below it and probe its contents.
constexpr std::uint32_t kTreeAccess = plat::kKeyWrite | plat::kKeyQueryValue | plat::kKeyEnumerateSubKeys;

}  // namespace

int CInstallerDlg::DeleteRegistryTree(const std::string& path, int recurse, int removeEmptyParent) {
    const plat::CodePage codePage = CodePage();
    int result = 1;

    const std::string::size_type hiveSlash = mbcs::Find(codePage, path, '\\');
    if (hiveSlash == mbcs::npos) return 0;
    const std::string hiveName = path.substr(0, hiveSlash);
    const std::string subKeyPath = path.substr(hiveSlash + 1);
    // An empty sub-key path names the hive's root: never empty a whole hive.
    if (subKeyPath.empty()) return 0;

    const plat::RegKeyHandle root = ResolveHive(hiveName);
    if (root == plat::kNullKey) return 0;

    if (recurse) {
        registry::RegKey key(m_platform.registry);
        if (key.Open(root, subKeyPath, kTreeAccess) != plat::kErrorSuccess) return 0;
        // Every name is listed before any is deleted: deleting while listing would shift
        // the indices of the keys not seen yet.
        CStringArray subKeys;
        ListSubKeys(key.get(), subKeys);
        for (auto name = subKeys.rbegin(); name != subKeys.rend(); ++name) {
            DeleteRegistryTree(path + '\\' + *name, 1, 0);
        }
    }

    if (m_platform.registry.DeleteKey(root, subKeyPath) != plat::kErrorSuccess) result = 0;

    if (removeEmptyParent) {
        // The hive's root key is never a parent that can be removed.
        const std::string::size_type parentSlash = mbcs::FindLast(codePage, subKeyPath, '\\');
        if (parentSlash == mbcs::npos || parentSlash == 0) return result;
        const std::string parentPath = subKeyPath.substr(0, parentSlash);

        registry::RegKey parent(m_platform.registry);
        if (parent.Open(root, parentPath, kTreeAccess) != plat::kErrorSuccess) return 0;

        const std::uint32_t kKeyNameBufferSize = registry::KeyNameBufferSize(codePage);
        std::vector<char> name(kKeyNameBufferSize);
        // A first entry whose name is longer than the buffer (a value name may have
        // 16383 characters) still makes the parent not empty.
        const auto hasEntry = [](plat::RegResult result) {
            return result == plat::kErrorSuccess || result == plat::kErrorMoreData;
        };
        std::uint32_t nameSize = kKeyNameBufferSize;
        bool empty = !hasEntry(m_platform.registry.EnumKey(parent.get(), 0, name.data(), &nameSize));
        if (empty) {
            nameSize = kKeyNameBufferSize;
            empty = !hasEntry(m_platform.registry.EnumValue(parent.get(), 0, name.data(), &nameSize));
        }
        if (empty && m_platform.registry.DeleteKey(root, parentPath) != plat::kErrorSuccess) result = 0;
    }
    return result;
}
