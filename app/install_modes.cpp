#include "app/install_modes.h"

#include <array>

#include "app/control_ids.h"
#include "app/install_states.h"
#include "app/installer_dlg.h"
#include "app/string_ids.h"

namespace {

constexpr std::array<InstallMode, 3> kModes{{
    {kInstallStateMinimum, "minimum", IDC_MODE_MIN, IDC_SIZE_MIN, IDS_SIZE_MINIMUM, IDS_BASE_FOLDERS,
     &CInstallerDlg::InstallBase, &CInstallerDlg::WriteMinimumRecord},
    {kInstallStateNormal, "normal", IDC_MODE_NORMAL, IDC_SIZE_NORMAL, IDS_SIZE_NORMAL, IDS_VOICE_FOLDERS,
     &CInstallerDlg::InstallVoice, &CInstallerDlg::WriteNormalRecord},
    {kInstallStateFull, "full", IDC_MODE_FULL, IDC_SIZE_FULL, IDS_SIZE_FULL, IDS_MEDIA_FOLDERS,
     &CInstallerDlg::InstallMedia, &CInstallerDlg::WriteFullRecord},
}};

}  // namespace

std::span<const InstallMode> InstallModes() { return kModes; }

const InstallMode* ModeOfState(int state) {
    for (const InstallMode& mode : kModes) {
        if (mode.state == state) return &mode;
    }
    return nullptr;
}
