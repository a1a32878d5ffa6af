#include "app/installer_dlg.h"
#include "app/mbcs_text.h"
#include "app/wait_cursor.h"

namespace {

constexpr unsigned kRecordKey = 103;
constexpr unsigned kProgramFiles = 111;
constexpr unsigned kBaseFolders = 112;
constexpr unsigned kVoiceFolders = 113;
constexpr unsigned kMediaFolders = 114;
constexpr unsigned kSaveFolder = 115;
constexpr unsigned kConfirmUninstall = 119;
constexpr unsigned kUninstalled = 120;

}  // namespace

void CInstallerDlg::OnUninstall() {
    if (m_host.MessageBox(LoadString(kConfirmUninstall), plat::kMbYesNo | plat::kMbIconInformation) != plat::kIdYes)
        return;

    m_host.Enable(IDC_UNINSTALL_RUN, false);
    m_host.Enable(IDC_INSTALL_RUN, false);
    {
        ActiveRun run(m_host);
        WaitCursor wait(m_host);

        // With no folder on record every path would lie at the root of the current
        // drive; only the record and the shortcuts are removed then.
        if (!m_strInstallDir.empty()) {
            if (m_nInstallState == 3) RemoveDataSet(kMediaFolders);
            if (m_nInstallState == 3 || m_nInstallState == 2) RemoveDataSet(kVoiceFolders);
            if (m_nInstallState >= 1 && m_nInstallState <= 3) RemoveDataSet(kBaseFolders);

            const std::string base = FolderBase(m_strInstallDir);
            CStringArray files;
            SplitList(LoadString(kProgramFiles), files, ',');
            for (const std::string& name : files) RemoveFile(base + name);

            if (m_host.GetCheck(IDC_KEEP_SAVEDATA) == 0) {
                RemoveDataSet(kSaveFolder);
                RemoveFolder(m_strInstallDir);
                const std::string::size_type last = mbcs::FindLast(CodePage(), m_strInstallDir, '\\');
                if (last != mbcs::npos && last > 0) RemoveFolder(m_strInstallDir.substr(0, last));
            }
        }

        DeleteRegistryTree(LoadString(kRecordKey), 1, 1);
        RemoveShellShortcut(1);
        RemoveShellShortcut(0);
    }
    m_host.MessageBox(LoadString(kUninstalled), plat::kMbOk | plat::kMbIconInformation);
    OnOK();
}

// Only the direct files of each folder go; a sub-folder keeps its folder, and so the
// install folder, in place.
int CInstallerDlg::RemoveDataSet(unsigned listId) {
    const std::string base = FolderBase(m_strInstallDir);
    CStringArray names;
    SplitList(LoadString(listId), names, ',');
    for (const std::string& name : names) RemoveFolderFiles(base + name);
    return 1;
}
