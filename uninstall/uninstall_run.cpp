
#include "app/install_modes.h"
#include "app/installer_dlg.h"
#include "app/string_ids.h"
#include "app/mbcs_text.h"
#include "app/wait_cursor.h"
#include "registry/shell_folder_codes.h"

void CInstallerDlg::OnUninstall() {
    if (m_host.MessageBox(LoadString(IDS_CONFIRM_UNINSTALL), plat::kMbYesNo | plat::kMbIconInformation) != plat::kIdYes)
        return;

    m_host.Enable(IDC_UNINSTALL_RUN, false);
    m_host.Enable(IDC_INSTALL_RUN, false);
    if (m_pRunObserver) {
        const bool keepSaveData = m_host.GetCheck(IDC_KEEP_SAVEDATA) != 0;
        m_pRunObserver->RunStarts(RunStart{RunKind::Uninstall, nullptr, keepSaveData, m_nInstallState});
    }
    {
        ActiveRun run(m_host);
        WaitCursor wait(m_host);

        // With no folder on record every path would lie at the root of the current
        // drive; only the record and the shortcuts are removed then.
        if (!m_strInstallDir.empty()) {
            // The data sets of the installed mode and those below it, the largest first.
            if (const InstallMode* installed = ModeOfState(m_nInstallState)) {
                const std::span<const InstallMode> modes = InstallModes();
                for (auto mode = modes.rbegin(); mode != modes.rend(); ++mode) {
                    if (mode->state <= installed->state) RemoveDataSet(mode->dataSet);
                }
            }

            const std::string base = FolderBase(m_strInstallDir);
            CStringArray files;
            SplitList(LoadString(IDS_PROGRAM_FILES), files, ',');
            for (const std::string& name : files) RemoveFile(base + name);

            if (m_host.GetCheck(IDC_KEEP_SAVEDATA) == 0) {
                RemoveDataSet(IDS_SAVE_FOLDER);
                RemoveFolder(m_strInstallDir);
                const std::string::size_type last = mbcs::FindLast(CodePage(), m_strInstallDir, '\\');
                if (last != mbcs::npos && last > 0) RemoveFolder(m_strInstallDir.substr(0, last));
            }
        }

        DeleteRegistryTree(LoadString(IDS_RECORD_KEY), 1, 1);
        RemoveShellShortcut(kShellFolderPrograms);
        RemoveShellShortcut(kShellFolderDesktop);
    }
    const std::string message = LoadString(IDS_UNINSTALLED);
    if (m_pRunObserver) m_pRunObserver->RunEnds(RunResult::Uninstalled, message);
    m_host.MessageBox(message, plat::kMbOk | plat::kMbIconInformation);
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
