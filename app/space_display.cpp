#include <cstdint>

#include "app/config_number.h"
#include "app/decimal_format.h"
#include "app/install_modes.h"
#include "app/install_states.h"
#include "app/installer_dlg.h"
#include "app/string_ids.h"
#include "res/product_constants.h"

namespace {

constexpr std::int64_t kBytesPerMb = 0x100000;

}  // namespace

void CInstallerDlg::ShowModeSize(int labelId, unsigned sizeId, int installedMb) {
    // 64-bit: two sizes of 32 bits apart can be further apart than 32 bits hold.
    const std::int64_t n = static_cast<std::int64_t>(ConfigNumber(LoadString(sizeId))) - installedMb;
    std::string text;
    if (n <= 0) {
        text = LoadString(IDS_SIZE_NOTHING_LEFT);
    } else if (n <= 1024) {
        text = "( " + FormatInt(n) + " " + res::kMegabytes + " )";
    } else {
        text = "( " + FormatFixed2(n * 0.0009765625) + " " + res::kGigabytes + " )";
    }
    m_host.SetText(labelId, text);
}

void CInstallerDlg::RefreshSpace() {
    m_strFreeSpace = res::kFreeSpaceUnknown;
    const InstallMode* mode = ReadMode();
    if (!mode) return;

    const std::int64_t modeMb = ConfigNumber(LoadString(mode->sizeString));
    const std::int64_t installedMb = InstalledMb();
    const std::int64_t requiredBytes = (modeMb - installedMb) * kBytesPerMb;

    bool spaceOk = false;
    std::string drive;
    const int selected = m_host.GetCurSel(IDC_DEST_DRIVE);
    if (selected != plat::kComboNone) drive = m_host.GetItemText(IDC_DEST_DRIVE, selected);
    if (!drive.empty()) {
        std::uint64_t freeBytes = 0;
        if (m_platform.fileSystem.GetFreeBytes(drive + ":", &freeBytes)) {
            // Compared unsigned: equality passes and a negative requirement never does.
            spaceOk = static_cast<std::uint64_t>(requiredBytes) <= freeBytes;
            const std::uint64_t freeMb = freeBytes >> 20;
            if (freeMb > 1024) {
                // From the 64-bit count: through 32 bits, 2^31 MB and more read as negative.
                const float gb = static_cast<float>(freeMb) * 0.0009765625f;
                m_strFreeSpace = FormatFixed2(gb) + " " + res::kGigabytes;
            } else {
                m_strFreeSpace = FormatInt(static_cast<long long>(freeMb)) + " " + res::kMegabytes;
            }
        }
    }
    m_host.SetText(IDC_FREE_SPACE, m_strFreeSpace);

    if (m_nInstallState == kInstallStateNone) m_strInstallDir = drive + ":" + LoadString(IDS_INSTALL_FOLDER);

    bool enable = spaceOk;
    if (enable && m_nInstallState == kInstallStateNone) enable = FindSourceRoot() != 0;
    if (m_nInstallState == kInstallStateFull) enable = false;
    m_host.Enable(IDC_INSTALL_RUN, enable);
}
