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
    const std::vector<std::string> args(argv + 1, argv + argc);
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
        scriptdriver::OpenSystemPlatform(options.winePrefix, options.discImages, &opened, &error);
    if (!system) {
        std::cerr << "mirel-setup-script: cannot open the system: " << error << '\n';
        return 1;
    }
    if (!opened.empty()) std::cout << opened << std::endl;
    for (const std::string& problem : system->problems()) std::cerr << "mirel-setup-script: " << problem << '\n';
    faultplat::FaultPlatform faults(system->platform(), options.plan);
    // Without a fault asked for, the dialog runs on the platform exactly as the product does.
    plat::Platform& base = options.injectsFaults ? faults.platform() : system->platform();
    scriptdriver::TextCodec codec{scriptdriver::Utf8ToAnsi, scriptdriver::AnsiToUtf8};
    if (options.noLog) {
        scriptdriver::DriverSession session(base, codec, std::cout, std::cerr);
        return session.Run(std::cin);
    }
    // The journal sees the faults as the system's own failures.
    journal::LogFile journalFile(options.logFile.empty() ? system->JournalPath()
                                                         : std::filesystem::path(options.logFile));
    RunJournal runJournal(base, journalFile, scriptdriver::BuildName(),
                          scriptdriver::JournalToUtf8());
    scriptdriver::DriverSession session(runJournal.platform(), codec, std::cout, std::cerr, &runJournal);
    return session.Run(std::cin);
}
