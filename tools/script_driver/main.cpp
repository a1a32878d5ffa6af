// mirel-setup-script: the installer's dialog without a window, driven by commands on
// standard input, for tests, benchmarks and automation. Faults can be injected into the
// real platform through options; the product itself takes no arguments.
#include <iostream>
#include <string>
#include <vector>

#include "frontend/run_journal.h"
#include "platform/fault/fault_platform.h"
#include "platform/journal/journal_log_file.h"
#include "tools/script_driver/driver_options.h"
#include "tools/script_driver/driver_platform.h"
#include "tools/script_driver/driver_session.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args = scriptdriver::CommandArguments(argc, argv);
    scriptdriver::DriverOptions options;
    std::string error;
    if (!scriptdriver::ParseDriverOptions(args, &options, &error)) {
        std::cerr << "mirel-setup-script: " << error << '\n' << scriptdriver::DriverUsage();
        return scriptdriver::kExitUnreadable;
    }
    if (options.help) {
        std::cout << scriptdriver::DriverUsage();
        return scriptdriver::kExitDone;
    }

    std::string opened;
    std::unique_ptr<scriptdriver::SystemPlatform> system =
        scriptdriver::OpenSystemPlatform(options.winePrefix, options.sandbox, options.discImages, &opened, &error);
    if (!system) {
        std::cerr << "mirel-setup-script: cannot open the system: " << error << '\n';
        return 1;
    }
    if (!opened.empty()) std::cout << opened << std::endl;
    for (const std::string& problem : system->problems()) std::cerr << "mirel-setup-script: " << problem << '\n';
    const std::vector<std::string> notes = system->notes();
    for (const std::string& note : notes) std::cerr << "mirel-setup-script: " << note << '\n';
    faultplat::FaultPlatform faults(system->platform(), options.plan);
    // Without a fault asked for, the dialog runs on the platform exactly as the product does.
    plat::Platform& base = options.injectsFaults ? faults.platform() : system->platform();
    // What a run left undone that the player should know goes to standard error too.
    const auto runNotes = [&system] {
        std::vector<std::string> said = system->TakeRunNotes();
        for (const std::string& note : said) std::cerr << "mirel-setup-script: " << note << '\n';
        return said;
    };
    if (options.noLog) {
        scriptdriver::DriverSession session(base, std::cout, std::cerr);
        const int status = session.Run(std::cin);
        runNotes();
        return status;
    }
    // The journal sees the faults as the system's own failures. The path is UTF-8 like
    // every argument.
    journal::LogFile journalFile(options.logFile.empty() ? system->JournalPath()
                                                         : std::filesystem::path(std::u8string(options.logFile.begin(), options.logFile.end())));
    RunJournal runJournal(base, journalFile, scriptdriver::BuildName());
    runJournal.SetSystemNotes(notes);
    runJournal.SetRunNotes(runNotes);
    scriptdriver::DriverSession session(runJournal.platform(), std::cout, std::cerr, &runJournal);
    const int status = session.Run(std::cin);
    runNotes();
    return status;
}
