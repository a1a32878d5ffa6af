#include "frontend/run_journal.h"

#include <ctime>

#include "app/control_ids.h"
#include "app/install_modes.h"
#include "app/installer_dlg.h"
#include "app/string_ids.h"
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

}  // namespace

// Sees the run begin (the window refuses to close from then on) and end, and the message
// that follows the end: the run's result.
class RunJournal::Watcher : public plat::ForwardingDialogHost {
public:
    Watcher(plat::DialogHost& window, RunJournal& journal) : ForwardingDialogHost(window), m_journal(journal) {}

    void SetRunActive(bool active) override {
        if (active) m_journal.RunStarts(inner());
        else m_journal.m_awaitingResult = m_journal.m_journal.Recording();
        inner().SetRunActive(active);
    }

    // Written before the box is shown: whatever becomes of the program while it waits,
    // the result and every line before it are in the journal.
    int MessageBox(const std::string& text, unsigned flags) override {
        if (m_journal.m_awaitingResult) m_journal.RunShows(text);
        m_journal.m_journal.Flush();
        return inner().MessageBox(text, flags);
    }

private:
    RunJournal& m_journal;
};

RunJournal::RunJournal(plat::Platform& real, journal::JournalOutput& output, std::string build,
                       journal::Journal::ToUtf8 toUtf8)
    : m_real(real), m_build(std::move(build)), m_journal(output, std::move(toUtf8)), m_platform(real, m_journal) {}

RunJournal::~RunJournal() = default;

plat::Platform& RunJournal::platform() { return m_platform.platform(); }

std::unique_ptr<plat::DialogHost> RunJournal::Watch(plat::DialogHost& window) {
    return std::make_unique<Watcher>(window, *this);
}

void RunJournal::Route(CInstallerDlg& dialog, int id, int code) {
    m_dialog = &dialog;
    m_command = id;
    dialog.OnCommand(id, code);
    // The window waits for the user again.
    m_journal.Flush();
    m_dialog = nullptr;
    m_command = 0;
}

void RunJournal::RunStarts(plat::DialogHost& window) {
    journal::RunHeader header;
    header.version = DottedVersion();
    header.build = m_build;
    header.drives = journal::DriveList(m_real.fileSystem);
    if (m_command == IDC_UNINSTALL_RUN) {
        header.kind = "uninstall";
        header.mode = window.GetCheck(IDC_KEEP_SAVEDATA) ? "uninstall, save data kept" : "uninstall, save data removed";
    } else {
        header.kind = "install";
        header.mode = "none chosen";
        const std::span<const InstallMode> modes = InstallModes();
        for (auto mode = modes.rbegin(); mode != modes.rend(); ++mode) {
            if (window.GetCheck(mode->radioId)) {
                header.mode = mode->name;
                break;
            }
        }
    }
    header.state = "unknown";
    if (m_dialog) {
        const InstallMode* installed = ModeOfState(m_dialog->m_nInstallState);
        header.state = installed ? installed->name : "nothing";
        header.state += " (state " + std::to_string(m_dialog->m_nInstallState) + ")";
    }
    m_awaitingResult = false;
    m_journal.BeginRun(journal::HeaderLines(header, std::time(nullptr)));
}

void RunJournal::RunShows(const std::string& message) {
    m_awaitingResult = false;
    const std::pair<unsigned, const char*> outcomes[] = {
        {IDS_INSTALL_SUCCEEDED, "install succeeded"},
        {IDS_INSTALL_FAILED, "install failed"},
        {IDS_UNINSTALLED, "uninstalled"},
    };
    std::string outcome = "ended";
    for (const auto& [id, words] : outcomes) {
        if (m_real.text.LoadString(id) == message) {
            outcome = words;
            break;
        }
    }
    m_journal.EndRun("result: " + outcome + " (\"" + m_journal.Utf8(OneLine(message)) + "\")");
}
