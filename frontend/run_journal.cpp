#include "frontend/run_journal.h"

#include <ctime>

#include "app/control_ids.h"
#include "app/install_modes.h"
#include "app/installer_dlg.h"
#include "host/forwarding_dialog_host.h"
#include "platform/journal/journal_run_header.h"
#include "res/version.h"

namespace {

// "1, 0, 0, 1" as "1.0.0.1".
std::string DottedVersion() {
    std::string version;
    for (char c : std::string(MIREL_VERSION_TEXT)) {
        if (c == ',') version += '.';
        else if (c != ' ') version += c;
    }
    return version;
}

std::string OneLine(const std::string& text) {
    std::string line;
    for (char c : text) {
        if (c == '\n') line += "\\n";
        else if (c != '\r') line += c;
    }
    return line;
}

// A header's closing lines: what opening the system changed in it.
void AppendSystemNotes(const std::vector<std::string>& notes, std::vector<std::string>* lines) {
    for (const std::string& note : notes) lines->push_back("system: " + note);
}

}  // namespace

// Puts the journal's lines out before a message box waits for the user: whatever becomes
// of the program while it waits, the result and every line before it are in the journal.
class RunJournal::Watcher : public plat::ForwardingDialogHost {
public:
    Watcher(plat::DialogHost& window, RunJournal& journal) : ForwardingDialogHost(window), m_journal(journal) {}

    int MessageBox(const std::string& text, unsigned flags) override {
        m_journal.m_journal.Flush();
        return inner().MessageBox(text, flags);
    }

private:
    RunJournal& m_journal;
};

RunJournal::RunJournal(plat::Platform& real, journal::JournalOutput& output, std::string build,
                       journal::Journal::ToUtf8 toUtf8)
    : m_real(real), m_build(std::move(build)), m_journal(output, std::move(toUtf8)), m_platform(real, m_journal) {}

RunJournal::~RunJournal() {
    if (!m_startBlock.empty()) m_journal.Block(m_startBlock);
}

plat::Platform& RunJournal::platform() { return m_platform.platform(); }

std::unique_ptr<plat::DialogHost> RunJournal::Watch(plat::DialogHost& window) {
    return std::make_unique<Watcher>(window, *this);
}

void RunJournal::Route(CInstallerDlg& dialog, int id, int code) {
    dialog.m_pRunObserver = this;
    dialog.OnCommand(id, code);
    // The window waits for the user again.
    m_journal.Flush();
}

void RunJournal::SetRunNotes(std::function<std::vector<std::string>()> source) { m_runNotes = std::move(source); }

void RunJournal::SetSystemNotes(std::vector<std::string> notes) {
    m_systemNotes = std::move(notes);
    m_startBlock.clear();
    if (m_systemNotes.empty()) return;
    // Taken now: the block tells of the start, whenever it is written.
    journal::RunHeader start;
    start.version = DottedVersion();
    start.build = m_build;
    start.drives = journal::DriveList(m_real.fileSystem);
    m_startBlock = journal::StartLines(start, std::time(nullptr));
    AppendSystemNotes(m_systemNotes, &m_startBlock);
}

void RunJournal::RunStarts(const RunStart& start) {
    journal::RunHeader header;
    header.version = DottedVersion();
    header.build = m_build;
    header.drives = journal::DriveList(m_real.fileSystem);
    if (start.kind == RunKind::Uninstall) {
        header.kind = "uninstall";
        header.mode = start.keepSaveData ? "uninstall, save data kept" : "uninstall, save data removed";
    } else {
        header.kind = "install";
        header.mode = start.mode ? start.mode->name : "none chosen";
    }
    const InstallMode* installed = ModeOfState(start.stateBefore);
    header.state = installed ? installed->name : "nothing";
    header.state += " (state " + std::to_string(start.stateBefore) + ")";
    std::vector<std::string> lines = journal::HeaderLines(header, std::time(nullptr));
    AppendSystemNotes(m_systemNotes, &lines);
    m_journal.BeginRun(lines);
    m_startBlock.clear();
}

void RunJournal::RunEnds(RunResult result, const std::string& message) {
    if (!m_journal.Recording()) return;
    const char* outcome = "install succeeded";
    if (result == RunResult::InstallFailed) outcome = "install failed";
    if (result == RunResult::Uninstalled) outcome = "uninstalled";
    if (m_runNotes) {
        for (const std::string& note : m_runNotes()) m_journal.Change(note);
    }
    m_journal.EndRun(std::string("result: ") + outcome + " (\"" + m_journal.Utf8(OneLine(message)) + "\")");
}
