// SETUP.EXE: the installer on Windows. Takes no arguments; installs into the system it
// runs on through the real Win32 calls.
#include "frontend/installer_app.h"
#include "frontend/run_journal.h"
#include "platform/journal/journal_log_file.h"
#include "platform/win32/win32_journal_path.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_text_conversion.h"
#include "ui/win32/installer_dialog_proc.h"
#include "ui/win32/win32_dialog_host.h"

#include <commctrl.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The version 6 classes the manifest asks for: the standard controls and the
    // progress bar, drawn in the system's current style.
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);

    win32plat::Win32Platform system;
    journal::LogFile journalFile(win32plat::TempJournalPath());
    RunJournal runJournal(system.platform(), journalFile, "Windows, SETUP.EXE", win32plat::AnsiToUtf8);
    win32ui::Win32DialogHost host;
    const std::unique_ptr<plat::DialogHost> watchedHost = runJournal.Watch(host);

    CInstallerApp app;
    app.InitInstance(runJournal.platform(), *watchedHost, [&](CInstallerDlg& dialog) {
        win32ui::DialogContext context(dialog, host,
                                       [&](int id, int code) { runJournal.Route(dialog, id, code); });
        return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_INSTALLER_DIALOG), nullptr,
                                                win32ui::InstallerDialogProc,
                                                reinterpret_cast<LPARAM>(&context)));
    });
    return 0;
}
