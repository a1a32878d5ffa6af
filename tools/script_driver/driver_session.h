#pragma once
// One run of the scripted driver: reads commands, drives the installer's dialog through
// the headless host, prints what a user would see.
#include <deque>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "host/headless_dialog_host.h"
#include "app/installer_dlg.h"
#include "frontend/run_journal.h"
#include "tools/script_driver/driver_command.h"

namespace scriptdriver {

inline constexpr int kExitDone = 0;
inline constexpr int kExitUnreadable = 2;
inline constexpr int kExitNoAnswer = 3;

// Conversions between the UTF-8 of the script and the system's ANSI code page; an
// empty one stands for no conversion.
struct TextCodec {
    std::function<std::string(const std::string&)> toAnsi;
    std::function<std::string(const std::string&)> toUtf8;
};

class DriverSession {
public:
    // `out` gets the events, `err` the reasons of a failed run. With `journal`, whose
    // platform is `platform`, each run is journaled as the product's are.
    DriverSession(plat::Platform& platform, TextCodec codec, std::ostream& out, std::ostream& err,
                  RunJournal* journal = nullptr);
    ~DriverSession();
    DriverSession(const DriverSession&) = delete;
    DriverSession& operator=(const DriverSession&) = delete;

    // Runs the commands of `in` to the end; returns the exit status. A message box with
    // no answer queued ends the process at once with kExitNoAnswer, leaving the system
    // as it was when the box appeared.
    int Run(std::istream& in);

private:
    // Returns an exit status to stop with, or nothing to go on.
    std::optional<int> Execute(const Command& command, int lineNumber, const std::string& line);
    void Start();
    void Select(int id, const std::string& text);
    void Click(int id);
    void Dump();
    int AnswerMessageBox(const std::string& text, unsigned flags);
    // Hands a command to the dialog, through the journal when there is one.
    void Deliver(int id, int code);
    void Print(const std::string& line);

    plat::Platform& m_platform;
    TextCodec m_codec;
    std::ostream& m_out;
    std::ostream& m_err;
    RunJournal* m_journal;
    std::deque<int> m_answers;
    // The window, the journal's watch on it and the dialog in it; the dialog goes first.
    std::unique_ptr<HeadlessDialogHost> m_host;
    std::unique_ptr<plat::DialogHost> m_watchedHost;
    std::unique_ptr<CInstallerDlg> m_dialog;
};

}  // namespace scriptdriver
