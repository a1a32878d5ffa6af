#include "app/install_modes.h"
#include "app/install_states.h"
#include "app/installer_dlg.h"
#include "app/string_ids.h"
#include "app/mbcs_text.h"
#include "app/wait_cursor.h"
#include "registry/shell_folder_codes.h"

void CInstallerDlg::OnInstall() {
    if (m_pRunObserver) m_pRunObserver->RunStarts(RunStart{RunKind::Install, ReadMode(), false, m_nInstallState});
    int result;
    {
        ActiveRun run(m_host);
        result = RunInstall();
    }
    const std::string message = LoadString(result ? IDS_INSTALL_SUCCEEDED : IDS_INSTALL_FAILED);
    if (m_pRunObserver) m_pRunObserver->RunEnds(result ? RunResult::InstallSucceeded : RunResult::InstallFailed, message);
    if (result)
        m_host.MessageBox(message, plat::kMbOk | plat::kMbIconInformation);
    else
        m_host.MessageBox(message, plat::kMbOk | plat::kMbIconExclamation);
    OnOK();
}

int CInstallerDlg::RunInstall() {
    if (!UpdateData()) return 0;
    m_host.Enable(IDC_UNINSTALL_RUN, false);
    m_host.Enable(IDC_INSTALL_RUN, false);
    const InstallMode* mode = ReadMode();

    // An installation whose record lost its folder has nowhere known to install to:
    // paths built from an empty folder would land at the root of the current drive.
    if (m_nInstallState != kInstallStateNone && m_strInstallDir.empty()) return 0;

    while (!FindSourceRoot()) {
        const std::string letter = m_strSourceRoot.substr(0, 1);
        const int answer =
            m_host.MessageBox(FormatString1(IDS_INSERT_DISC, letter), plat::kMbOkCancel | plat::kMbIconExclamation);
        if (answer != plat::kIdOk) return 0;
    }

    m_host.SetProgressPos(IDC_PROGRESS, 0);
    m_host.Show(IDC_PROGRESS, true);
    WaitCursor wait(m_host);

    if (!mode) return 0;
    // The steps of the modes above the installed state up to the chosen one, each passed
    // the result of the one before. The minimum mode, only selectable on a fresh system,
    // is its own step whatever the state; a mode the state already has runs nothing.
    const int first = mode->state == kInstallStateMinimum ? kInstallStateMinimum : m_nInstallState + 1;
    int result = first <= mode->state ? 1 : 0;
    for (const InstallMode& step : InstallModes()) {
        if (step.state >= first && step.state <= mode->state) result = (this->*step.step)(result);
    }

    const bool wantPrograms = m_host.GetCheck(IDC_SHORTCUT_PROGRAMS) != 0;
    const bool wantDesktop = m_host.GetCheck(IDC_SHORTCUT_DESKTOP) != 0;
    if (result && (wantPrograms || wantDesktop)) {
        if (!m_platform.shell.InitializeComponents()) result = 0;
        if (m_host.GetCheck(IDC_SHORTCUT_PROGRAMS) && result) result = CreateShellShortcut(kShellFolderPrograms);
        if (m_host.GetCheck(IDC_SHORTCUT_DESKTOP) && result) result = CreateShellShortcut(kShellFolderDesktop);
    }
    return result;
}

int CInstallerDlg::InstallBase(int proceed) {
    int ok = proceed ? CreateFolderTree(m_strInstallDir) : 0;

    const plat::CodePage codePage = CodePage();
    std::string installDir = m_strInstallDir;
    std::string sourceRoot = m_strSourceRoot;
    mbcs::TrimRight(codePage, installDir);
    mbcs::TrimRight(codePage, sourceRoot);

    CStringArray files;
    SplitList(LoadString(IDS_PROGRAM_FILES), files, ',');
    for (const std::string& name : files) {
        if (!ok) break;
        ok = CopyFileWithProgress(installDir + "\\" + name, sourceRoot + "\\" + name);
    }

    if (ok) {
        // Nothing is ever put into the save folder here; the game fills it.
        CreateFolderTree(installDir + "\\" + LoadString(IDS_SAVE_FOLDER));
        ok = InstallModeData(*ModeOfState(kInstallStateMinimum), 1);
    }
    return ok;
}

int CInstallerDlg::InstallVoice(int proceed) { return InstallModeData(*ModeOfState(kInstallStateNormal), proceed); }

int CInstallerDlg::InstallMedia(int proceed) { return InstallModeData(*ModeOfState(kInstallStateFull), proceed); }

// The record names a set only once its files are on the disk: a power cut after the
// record was written must not leave it naming files the disk never received.
int CInstallerDlg::InstallModeData(const InstallMode& mode, int proceed) {
    if (proceed && InstallDataSet(mode.dataSet) && m_platform.fileSystem.FlushDrive(m_strInstallDir)) {
        return (this->*mode.writeRecord)();
    }
    return 0;
}
