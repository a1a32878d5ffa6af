#pragma once
// Which system the Linux programs install into: the sandbox of the system root (the
// default), or a Wine prefix (--wine-prefix [DIR]).
#include <memory>
#include <string>
#include <vector>

#include "platform/posix/posix_platform.h"

namespace posixplat {

struct SystemChoice {
    bool winePrefix = false;
    std::string prefixDir;  // empty: $WINEPREFIX, else ~/.wine
    // Disc image files to read as CD-ROM drives for the run (--disc IMAGE, repeatable).
    std::vector<std::string> discImages;
};

// Takes "--wine-prefix [DIR]" and "--disc IMAGE" out of `args` (DIR is the next argument
// when it does not start with "--"). False with the reason when --wine-prefix is given
// twice or --disc has no image.
bool TakeSystemChoice(std::vector<std::string>* args, SystemChoice* choice, std::string* error);

// The usage lines of the option, for --help.
std::string SystemChoiceUsage();

// Opens the chosen system; null with the reason in `error` (not a prefix, its Wine server
// running). `opened` says in one line what was opened, for the programs to print.
std::unique_ptr<PosixPlatform> OpenChosenSystem(const SystemChoice& choice, std::string* opened, std::string* error);

}  // namespace posixplat
