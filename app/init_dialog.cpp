#include <initializer_list>

#include "app/install_modes.h"
#include "app/install_states.h"
#include "app/installer_dlg.h"
#include "app/mbcs_text.h"
#include "app/string_ids.h"
#include "platform/ascii.h"

namespace {

// GetLogicalDriveStrings is asked with a buffer of this size.
constexpr std::string::size_type kDriveBufferSize = 256;
constexpr std::string::size_type kDriveRootStride = 4;

}  // namespace

int CInstallerDlg::OnInitDialog() {
    const plat::CodePage codePage = CodePage();
    m_host.SetProgressRange(IDC_PROGRESS, 0, 100);
    m_host.SetCheck(IDC_MODE_FULL, 1);
    m_host.ResetContent(IDC_SOURCE_DRIVE);
    m_host.ResetContent(IDC_DEST_DRIVE);

    std::string drives = m_platform.fileSystem.LogicalDriveStrings();
    if (drives.size() > kDriveBufferSize) drives.clear();  // would not fit: the call yields nothing
    for (std::string::size_type pos = 0; pos < drives.size(); pos += kDriveRootStride) {
        const std::string root = drives.substr(pos, drives.find('\0', pos) - pos);
        std::string letter = ascii::UpperCased(root);
        mbcs::TrimRight(codePage, letter, '\\');
        mbcs::TrimRight(codePage, letter, ':');
        if (letter.empty()) break;
        m_host.AddString(IDC_SOURCE_DRIVE, letter);
        if (m_platform.fileSystem.GetDriveType(root) == plat::DriveType::Fixed) m_host.AddString(IDC_DEST_DRIVE, letter);
    }

    m_nInstallState = DetectInstallState();

    // Each state rules out what it already has; a larger state adds to the smaller ones.
    const int state = m_nInstallState;
    const InstallMode* installed = ModeOfState(state);
    auto disable = [this](std::initializer_list<int> ids) {
        for (int id : ids) m_host.Enable(id, false);
    };
    if (state == kInstallStateNone) disable({IDC_UNINSTALL_RUN, IDC_KEEP_SAVEDATA, IDC_UNINSTALL_GROUP});
    if (state == kInstallStateFull) disable({IDC_INSTALL_RUN, IDC_SHORTCUT_DESKTOP, IDC_SHORTCUT_PROGRAMS});
    for (const InstallMode& mode : InstallModes()) {
        if (installed && mode.state <= installed->state) disable({mode.radioId, mode.sizeLabelId});
    }
    if (installed)
        disable({IDC_DEST_DRIVE, IDC_SOURCE_DRIVE, IDC_FREE_CAPTION, IDC_DEST_CAPTION, IDC_SOURCE_CAPTION,
                 IDC_INSTALL_GROUP, IDC_FREE_SPACE});

    const int installedMb = InstalledMb();
    for (const InstallMode& mode : InstallModes()) ShowModeSize(mode.sizeLabelId, mode.sizeString, installedMb);

    if (state != kInstallStateNone) {
        auto selectFirstLetter = [this](int comboId, const std::string& path) {
            if (path.empty()) return;
            const int index = m_host.FindStringExact(comboId, path.substr(0, 1));
            if (index != plat::kComboNone) m_host.SetCurSel(comboId, index);
        };
        selectFirstLetter(IDC_SOURCE_DRIVE, m_strSourceRoot);
        selectFirstLetter(IDC_DEST_DRIVE, m_strInstallDir);
    }

    RefreshSpace();
    return 1;
}
