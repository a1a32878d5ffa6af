// Listing the direct sub-keys of an open key.
#include <array>
#include <cstdint>

#include "app/installer_dlg.h"

namespace {

// Room for a key name of Windows' longest (255 UTF-16 units) in either code page the
// program runs in: three bytes a unit in UTF-8, two in code page 932; and a terminator.
constexpr std::uint32_t kKeyNameBufferSize = 255 * 3 + 1;

}  // namespace

void CInstallerDlg::ListSubKeys(plat::RegKeyHandle key, CStringArray& names) {
    names.clear();
    std::array<char, kKeyNameBufferSize> name{};
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
