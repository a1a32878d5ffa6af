#pragma once
// Which system the Linux programs install into: the Wine prefix the player's games run
// in (the default), or the installer's own sandbox of a system root.
#include <memory>
#include <string>
#include <vector>

#include "platform/posix/posix_platform.h"

namespace posixplat {

struct SystemChoice {
    enum class Kind {
        kUnsaid,      // the sandbox when $MIREL_SETUP_ROOT is set, else the Wine prefix
        kSandbox,     // --sandbox [ROOT]
        kWinePrefix,  // --wine-prefix [DIR]
    };
    Kind kind = Kind::kUnsaid;
    std::string dir;  // the root or the prefix; empty: its default
    // Disc image files to read as CD-ROM drives for the run (--disc IMAGE, repeatable).
    std::vector<std::string> discImages;
};

// Takes "--wine-prefix [DIR]", "--sandbox [ROOT]" and "--disc IMAGE" out of `args` (the
// value of the first two is the next argument when it does not start with "--"). False
// with the reason when an option is given twice, both systems are, or --disc has no image.
bool TakeSystemChoice(std::vector<std::string>* args, SystemChoice* choice, std::string* error);

// What `choice` comes to: kSandbox or kWinePrefix, with its folder filled in.
SystemChoice ResolveSystemChoice(const SystemChoice& choice);

// The usage lines of the options, for --help.
std::string SystemChoiceUsage();

// Whether the chosen system is a Wine prefix that does not exist yet (no folder, or an
// empty one), which Wine's `wineboot --init` would make.
bool IsMissingWinePrefix(const SystemChoice& resolved);

// Opens the chosen system; null with the reason in `error` (not a prefix, its Wine server
// running). `opened` says in one line what was opened, for the programs to print.
std::unique_ptr<PosixPlatform> OpenChosenSystem(const SystemChoice& choice, std::string* opened, std::string* error);

}  // namespace posixplat
