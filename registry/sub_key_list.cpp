// Listing the direct sub-keys of an open key.
#include <array>
#include <cstdint>

#include "app/installer_dlg.h"

namespace {

// Room for a key name of up to 259 bytes and its terminator.
constexpr std::uint32_t kKeyNameBufferSize = 260;

}  // namespace

void CInstallerDlg::ListSubKeys(plat::RegKeyHandle key, CStringArray& names) {
    names.clear();
    std::array<char, kKeyNameBufferSize> name{};
    // The listing ends at the first index the registry refuses, for whatever reason;
    // the names gathered up to there are kept.
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t nameSize = kKeyNameBufferSize;
        if (m_platform.registry.EnumKey(key, index, name.data(), &nameSize) != plat::kErrorSuccess) break;
        names.emplace_back(name.data(), nameSize);
    }
}
