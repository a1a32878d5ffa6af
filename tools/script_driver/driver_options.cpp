#include "tools/script_driver/driver_options.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>

#include "platform/ascii.h"
namespace scriptdriver {
namespace {

bool ParseCount(const std::string& text, std::uint64_t* value) {
    if (text.empty() || text.size() > 20) return false;
    if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
    errno = 0;
    const unsigned long long parsed = std::strtoull(text.c_str(), nullptr, 10);
    if (errno == ERANGE) return false;
    *value = parsed;
    return true;
}

// L=N: a drive letter and a byte count.
bool ParseFreeBytes(const std::string& text, faultplat::FaultPlan* plan) {
    if (text.size() < 3 || text[1] != '=') return false;
    const char letter = ascii::ToUpper(text[0]);
    if (letter < 'A' || letter > 'Z') return false;
    std::uint64_t bytes = 0;
    if (!ParseCount(text.substr(2), &bytes)) return false;
    plan->freeBytes[letter] = bytes;
    return true;
}

}  // namespace

bool ParseDriverOptions(const std::vector<std::string>& args, DriverOptions* options, std::string* error) {
    DriverOptions parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        const bool hasValue = i + 1 < args.size();
        if (option == "--help" || option == "-h") {
            parsed.help = true;
            continue;
        }
        if (option == "--wine-prefix" || option == "--sandbox") {
            std::optional<std::string>& chosen = option == "--sandbox" ? parsed.sandbox : parsed.winePrefix;
            if (chosen) {
                *error = option + " is given twice";
                return false;
            }
            chosen = (hasValue && args[i + 1].rfind("--", 0) != 0) ? args[++i] : std::string();
            if (parsed.sandbox && parsed.winePrefix) {
                *error = "--sandbox and --wine-prefix name two systems; give one";
                return false;
            }
            continue;
        }
        if (option == "--disc") {
            if (!hasValue || args[i + 1].empty()) {
                *error = "--disc needs a disc image file";
                return false;
            }
            parsed.discImages.push_back(args[++i]);
            continue;
        }
        // Where the journal goes leaves the platform as the product runs it.
        if (option == "--log") {
            if (!hasValue || args[i + 1].empty()) {
                *error = "--log needs a file name";
                return false;
            }
            parsed.logFile = args[++i];
            continue;
        }
        if (option == "--no-log") {
            parsed.noLog = true;
            continue;
        }
        parsed.injectsFaults = true;
        if (option == "--fail-link") {
            parsed.plan.failLinkSave = true;
        } else if (option == "--free-bytes") {
            if (!hasValue || !ParseFreeBytes(args[++i], &parsed.plan)) {
                *error = "--free-bytes needs LETTER=BYTES";
                return false;
            }
        } else if (option == "--fail-read") {
            if (!hasValue || args[i + 1].empty()) {
                *error = "--fail-read needs a file name";
                return false;
            }
            parsed.plan.failReadName = args[++i];
        } else if (option == "--fail-write-after") {
            std::uint64_t bytes = 0;
            if (!hasValue || !ParseCount(args[++i], &bytes)) {
                *error = "--fail-write-after needs a byte count";
                return false;
            }
            parsed.plan.diskFullAfterBytes = bytes;
        } else if (option == "--stop-every") {
            if (!hasValue || !ParseCount(args[++i], &parsed.plan.stopEvery) || parsed.plan.stopEvery == 0) {
                *error = "--stop-every needs a positive count";
                return false;
            }
#ifdef SIGSTOP
            parsed.plan.stop = [] { std::raise(SIGSTOP); };
#else
            *error = "--stop-every needs a system that can stop a process";
            return false;
#endif
        } else {
            *error = "unknown option " + option;
            return false;
        }
    }
    *options = std::move(parsed);
    return true;
}

std::string DriverUsage() {
    return "usage: mirel-setup-script [options] < commands\n"
           "Runs the installer's dialog without a window, driven by commands on standard input:\n"
           "  start | select ID TEXT | click ID | enter | answer WORD... | dump\n"
           "  --wine-prefix [DIR]    (Linux) install into the Wine prefix DIR (default: $WINEPREFIX,\n"
           "                         else ~/.wine); the default unless $MIREL_SETUP_ROOT is set\n"
           "  --sandbox [ROOT]       (Linux) install into the sandbox ROOT (default:\n"
           "                         $MIREL_SETUP_ROOT, else ~/.local/share/mirel-setup)\n"
           "  --disc IMAGE           (Linux) read the disc image IMAGE (ISO 9660, UDF, CUE/BIN) as a\n"
           "                         CD-ROM drive on the first free letter from D: (in a prefix,\n"
           "                         on the letter it keeps there for the game's launcher)\n"
           "options (faults injected for tests):\n"
           "  --free-bytes L=N       drive L reports N free bytes (repeatable)\n"
           "  --fail-read NAME       reading a file named NAME fails after its first block\n"
           "  --fail-write-after N   writes fail once N bytes in all have been written\n"
           "  --fail-link            saving a shell link fails\n"
           "  --stop-every N         (Linux) the driver stops itself (SIGSTOP) before every Nth\n"
           "                         platform operation, for a test to take the disk's state\n"
           "install journal (by default where the product keeps it):\n"
           "  --log FILE             append it to FILE instead\n"
           "  --no-log               keep none\n"
           "exit status: 0 at the end of input, 2 for an unreadable command or option,\n"
           "3 when a message box has no answer queued, 1 when the system cannot be opened\n";
}

}  // namespace scriptdriver
