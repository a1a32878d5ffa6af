#include "tools/script_driver/driver_session.h"

#include <cstdlib>
#include <istream>
#include <ostream>

#include "app/control_ids.h"
#include "tools/script_driver/driver_output.h"

namespace scriptdriver {

DriverSession::DriverSession(plat::Platform& platform, std::ostream& out, std::ostream& err, RunJournal* journal)
    : m_platform(platform), m_out(out), m_err(err), m_journal(journal) {}

DriverSession::~DriverSession() {
    m_dialog.reset();
    m_watchedHost.reset();
    m_host.reset();
}

void DriverSession::Print(const std::string& line) { m_out << line << '\n'; }

int DriverSession::Run(std::istream& in) {
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        // A byte-order mark that an editor put in front of the first line.
        if (lineNumber == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
        Command command;
        const LineKind kind = ParseCommandLine(line, &command);
        if (kind == LineKind::Skip) continue;
        if (kind == LineKind::Unreadable) {
            Print("error: cannot read command: " + line);
            m_out.flush();
            m_err << "mirel-setup-script: line " << lineNumber << ": cannot read command: " << line << '\n';
            return kExitUnreadable;
        }
        if (std::optional<int> status = Execute(command, lineNumber, line)) {
            m_out.flush();
            return *status;
        }
    }
    m_out.flush();
    return kExitDone;
}

std::optional<int> DriverSession::Execute(const Command& command, int lineNumber, const std::string& line) {
    if (command.kind == CommandKind::Answer) {
        m_answers.insert(m_answers.end(), command.answers.begin(), command.answers.end());
        return std::nullopt;
    }
    if (command.kind == CommandKind::Start) {
        if (m_host && !m_host->Ended()) {
            Print("error: dialog running");
            return std::nullopt;
        }
        Start();
        return std::nullopt;
    }
    // Everything else acts on the dialog, so a script that has not started one is wrong.
    if (!m_host) {
        Print("error: no dialog started");
        m_out.flush();
        m_err << "mirel-setup-script: line " << lineNumber << ": no dialog started before: " << line << '\n';
        return kExitUnreadable;
    }
    if (m_host->Ended()) {
        Print("error: dialog ended");
        return std::nullopt;
    }
    switch (command.kind) {
    case CommandKind::Select:
        Select(command.id, command.text);
        break;
    case CommandKind::Click:
        Click(command.id);
        break;
    case CommandKind::Enter:
        Deliver(plat::kIdOk, kNotifyClicked);
        break;
    case CommandKind::Dump:
        Dump();
        break;
    case CommandKind::Start:
    case CommandKind::Answer:
        break;
    }
    return std::nullopt;
}

void DriverSession::Start() {
    // A new run of the program: a fresh window and dialog; the queued answers carry on.
    m_dialog.reset();
    m_watchedHost.reset();
    m_host = std::make_unique<HeadlessDialogHost>();
    m_host->SetAnswerer([this](const std::string& text, unsigned flags) { return AnswerMessageBox(text, flags); });
    m_host->SetEndListener([this](int result) { Print(EndLine(result)); });
    if (m_journal) m_watchedHost = m_journal->Watch(*m_host);
    m_dialog = std::make_unique<CInstallerDlg>(m_platform, m_watchedHost ? *m_watchedHost : *m_host);
    m_dialog->OnInitDialog();
}

void DriverSession::Select(int id, const std::string& text) {
    // A disabled combo box cannot be opened, so nothing can be chosen in it.
    if (!m_host->IsEnabled(id)) {
        Print("disabled " + std::to_string(id));
        return;
    }
    const int index = m_host->FindStringExact(id, text);
    if (index == plat::kComboNone) {
        Print("error: no item " + text + " in " + std::to_string(id));
        return;
    }
    m_host->SetCurSel(id, index);
    Deliver(id, kNotifySelectionChange);
}

void DriverSession::Click(int id) {
    if (!m_host->IsEnabled(id)) {
        Print("disabled " + std::to_string(id));
        return;
    }
    const std::optional<res::ControlKind> kind = m_host->Kind(id);
    if (kind == res::ControlKind::Radio) {
        // An auto radio button: checked, and the others of its group unchecked.
        m_host->SetCheck(id, 1);
        for (int other : m_host->RadioGroupOf(id)) m_host->SetCheck(other, 0);
    } else if (kind == res::ControlKind::Check) {
        m_host->SetCheck(id, m_host->GetCheck(id) ? 0 : 1);
    }
    Deliver(id, kNotifyClicked);
}

void DriverSession::Deliver(int id, int code) {
    if (m_journal) m_journal->Route(*m_dialog, id, code);
    else m_dialog->OnCommand(id, code);
}

void DriverSession::Dump() {
    for (int id : m_host->ControlIds()) Print(DumpLine(*m_host, id));
}

int DriverSession::AnswerMessageBox(const std::string& text, unsigned flags) {
    Print(MessageLine(flags, text));
    if (m_answers.empty()) {
        Print("error: no answer queued");
        m_out.flush();
        // Nothing sensible can answer for the user; stop where the box appeared.
        std::exit(kExitNoAnswer);
    }
    const int answer = m_answers.front();
    m_answers.pop_front();
    Print(std::string("answer ") + AnswerWord(answer));
    return answer;
}

}  // namespace scriptdriver
