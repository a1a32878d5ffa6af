// Listing the direct sub-keys of an open key.
#include <cstdint>
#include <vector>

#include "app/installer_dlg.h"
#include "registry/name_buffers.h"

void CInstallerDlg::ListSubKeys(plat::RegKeyHandle key, CStringArray& names) {
    names.clear();
    const std::uint32_t kKeyNameBufferSize = registry::KeyNameBufferSize(CodePage());
    std::vector<char> name(kKeyNameBufferSize);
    // The listing ends at the first index the registry refuses for any other reason
    // than a name too long for the buffer; the names gathered up to there are kept. A
    // name too long (a hive written elsewhere may hold one) is none the installer looks
    // for, and must not hide the siblings after it.
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t nameSize = kKeyNameBufferSize;
        const plat::RegResult result = m_platform.registry.EnumKey(key, index, name.data(), &nameSize);
        if (result == plat::kErrorMoreData) continue;
        if (result != plat::kErrorSuccess) break;
        names.emplace_back(name.data(), nameSize);
    }
}
