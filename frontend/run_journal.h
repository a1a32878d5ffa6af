#pragma once
// The install journal as the front-ends compose it: the dialog gets a journaled platform,
// a host that puts the journal's lines out before the window waits for the user, and
// this object as its run observer. Each run then appears in the journal as its header,
// its changes and failures, and its result, the message the user was shown. Every
// front-end (Qt, Win32, the scripted driver) composes it the same way; where the journal
// goes is each front-end's choice.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/run_observer.h"
#include "platform/dialog_host.h"
#include "platform/journal/journal.h"
#include "platform/journal/journal_platform.h"

class CInstallerDlg;

class RunJournal : public RunObserver {
public:
    // `build` names the build and the front-end in each run's header ("Linux, Qt").
    RunJournal(plat::Platform& real, journal::JournalOutput& output, std::string build,
               journal::Journal::ToUtf8 toUtf8 = {});
    ~RunJournal() override;
    RunJournal(const RunJournal&) = delete;
    RunJournal& operator=(const RunJournal&) = delete;

    // The platform for the dialog.
    plat::Platform& platform();
    // The host for the dialog: `window`, watched. Lives no longer than this object.
    std::unique_ptr<plat::DialogHost> Watch(plat::DialogHost& window);
    // What opening the system changed in it (a disc given a drive letter, say): each
    // run's header ends with these lines, "system: <note>". When no run follows, they
    // go into a start block of their own as this object ends.
    void SetSystemNotes(std::vector<std::string> notes);
    // Where the lines come from that the system has to say about a run as it ends
    // (a shortcut that got no launcher): each goes into the journal before the result.
    void SetRunNotes(std::function<std::vector<std::string>()> source);
    // Hands a command of the window to `dialog`, as the front-end would itself; the
    // dialog tells this journal of the runs the command makes.
    void Route(CInstallerDlg& dialog, int id, int code);

    void RunStarts(const RunStart& start) override;
    void RunEnds(RunResult result, const std::string& message) override;

private:
    class Watcher;

    plat::Platform& m_real;
    std::string m_build;
    std::vector<std::string> m_systemNotes;
    // The start block the notes get when no run has told of them; empty once one has.
    std::vector<std::string> m_startBlock;
    std::function<std::vector<std::string>()> m_runNotes;
    journal::Journal m_journal;
    journal::JournalPlatform m_platform;
};
