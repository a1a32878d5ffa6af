#include "app/installer_dlg.h"

#include "app/mbcs_text.h"

CInstallerDlg::CInstallerDlg(plat::Platform& platform, plat::DialogHost& host)
    : m_platform(platform), m_host(host) {}

plat::CodePage CInstallerDlg::CodePage() const { return m_platform.text.AnsiCodePage(); }

std::string CInstallerDlg::FolderBase(const std::string& folder) const {
    std::string base = folder;
    mbcs::TrimRight(CodePage(), base);
    return base + "\\";
}

CInstallerDlg::InstallMode CInstallerDlg::ReadMode() {
    if (m_host.GetCheck(IDC_MODE_FULL)) return InstallMode::Full;
    if (m_host.GetCheck(IDC_MODE_NORMAL)) return InstallMode::Normal;
    if (m_host.GetCheck(IDC_MODE_MIN)) return InstallMode::Minimum;
    return InstallMode::None;
}

// The free-space text is the dialog's only exchanged value.
bool CInstallerDlg::UpdateData() {
    m_strFreeSpace = m_host.GetText(IDC_FREE_SPACE);
    return true;
}

void CInstallerDlg::OnCommand(int id, int code) {
    switch (id) {
    case IDC_DEST_DRIVE:
    case IDC_SOURCE_DRIVE:
        if (code == CBN_SELCHANGE) RefreshSpace();
        break;
    case IDC_MODE_MIN:
    case IDC_MODE_NORMAL:
    case IDC_MODE_FULL:
        if (code == BN_CLICKED) RefreshSpace();
        break;
    case IDC_INSTALL_RUN:
        if (code == BN_CLICKED) OnInstall();
        break;
    case IDC_UNINSTALL_RUN:
        if (code == BN_CLICKED) OnUninstall();
        break;
    case IDCANCEL:
        OnCancel();
        break;
    case IDOK:
        OnOK();
        break;
    default:
        break;
    }
}

void CInstallerDlg::OnCancel() { m_host.EndDialog(IDCANCEL); }

void CInstallerDlg::OnOK() {
    if (!UpdateData()) return;
    m_host.EndDialog(IDOK);
}
