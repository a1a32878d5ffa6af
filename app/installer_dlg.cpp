#include "app/installer_dlg.h"


#include "app/config_number.h"
#include "app/install_modes.h"
#include "app/mbcs_text.h"

CInstallerDlg::CInstallerDlg(plat::Platform& platform, plat::DialogHost& host)
    : m_platform(platform), m_host(host) {}

plat::CodePage CInstallerDlg::CodePage() const { return m_platform.text.AnsiCodePage(); }

std::string CInstallerDlg::FolderBase(const std::string& folder) const {
    std::string base = folder;
    mbcs::TrimRight(CodePage(), base);
    return base + "\\";
}

const InstallMode* CInstallerDlg::ReadMode() {
    const std::span<const InstallMode> modes = InstallModes();
    for (auto mode = modes.rbegin(); mode != modes.rend(); ++mode) {
        if (m_host.GetCheck(mode->radioId)) return &*mode;
    }
    return nullptr;
}

int CInstallerDlg::InstalledMb() const {
    const InstallMode* installed = ModeOfState(m_nInstallState);
    return installed ? ConfigNumber(LoadString(installed->sizeString)) : 0;
}

// The free-space text is the dialog's only exchanged value.
bool CInstallerDlg::UpdateData() {
    m_strFreeSpace = m_host.GetText(IDC_FREE_SPACE);
    return true;
}

void CInstallerDlg::OnCommand(int id, int code) {
    for (const InstallMode& mode : InstallModes()) {
        if (id == mode.radioId) {
            if (code == kNotifyClicked) RefreshSpace();
            return;
        }
    }
    switch (id) {
    case IDC_DEST_DRIVE:
    case IDC_SOURCE_DRIVE:
        if (code == kNotifySelectionChange) RefreshSpace();
        break;
    case IDC_INSTALL_RUN:
        if (code == kNotifyClicked) OnInstall();
        break;
    case IDC_UNINSTALL_RUN:
        if (code == kNotifyClicked) OnUninstall();
        break;
    case plat::kIdCancel:
        OnCancel();
        break;
    case plat::kIdOk:
        OnOK();
        break;
    default:
        break;
    }
}

void CInstallerDlg::OnCancel() { m_host.EndDialog(plat::kIdCancel); }

void CInstallerDlg::OnOK() {
    if (!UpdateData()) return;
    m_host.EndDialog(plat::kIdOk);
}
