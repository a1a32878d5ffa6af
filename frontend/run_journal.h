#pragma once
// The install journal as the front-ends compose it: the dialog gets a journaled platform
// and a host that watches the window for the start and the end of each run; the command
// that started a run says whether it installs or uninstalls. Each run then appears in
// the journal as its header, its changes and failures, and its result, the message the
// user was shown. Every front-end (Qt, Win32, the scripted driver) composes it the same
// way; where the journal goes is each front-end's choice.
#include <memory>
#include <string>

#include "platform/dialog_host.h"
#include "platform/journal/journal.h"
#include "platform/journal/journal_platform.h"

class CInstallerDlg;

class RunJournal {
public:
    // `build` names the build and the front-end in each run's header ("Linux, Qt").
    RunJournal(plat::Platform& real, journal::JournalOutput& output, std::string build,
               journal::Journal::ToUtf8 toUtf8 = {});
    ~RunJournal();
    RunJournal(const RunJournal&) = delete;
    RunJournal& operator=(const RunJournal&) = delete;

    // The platform for the dialog.
    plat::Platform& platform();
    // The host for the dialog: `window`, watched. Lives no longer than this object.
    std::unique_ptr<plat::DialogHost> Watch(plat::DialogHost& window);
    // Hands a command of the window to `dialog`, as the front-end would itself.
    void Route(CInstallerDlg& dialog, int id, int code);

private:
    class Watcher;
    void RunStarts(plat::DialogHost& window);
    void RunShows(const std::string& message);

    plat::Platform& m_real;
    std::string m_build;
    journal::Journal m_journal;
    journal::JournalPlatform m_platform;
    // The command being handled and the dialog it went to, while it is handled.
    const CInstallerDlg* m_dialog = nullptr;
    int m_command = 0;
    bool m_awaitingResult = false;
};
