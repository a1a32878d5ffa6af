#pragma once
// The part of the scripted driver that differs per build: the real platform it runs
// on and how its arguments arrive. Commands, output and the core's text are UTF-8 on
// both. Linux: driver_platform_posix.cpp; Windows: driver_platform_win32.cpp.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/journal/journal.h"
#include "platform/platform.h"

namespace scriptdriver {

// The system's platform, open for as long as this object lives.
class SystemPlatform {
public:
    virtual ~SystemPlatform() = default;
    virtual plat::Platform& platform() = 0;
    // What of the user's system files could not be used (a line of the drives file, a
    // damaged registry hive), one line each; the run goes on without it.
    virtual std::vector<std::string> problems() const { return {}; }
    // What opening the system changed in it (a disc given a drive letter), one line each.
    virtual std::vector<std::string> notes() const { return {}; }
    // What the last run left undone that the player should know, since the last call.
    virtual std::vector<std::string> TakeRunNotes() { return {}; }
    // Where the product keeps its install journal on this system.
    virtual std::filesystem::path JournalPath() const = 0;
};

// The build and front-end, for the journal's run headers.
std::string BuildName();

// Opens the platform of the system the driver runs on, as the product would (Linux:
// the Wine prefix `winePrefix`, or the sandbox `sandbox`, an empty one meaning its
// default; neither: the sandbox of $MIREL_SETUP_ROOT when set, else Wine's default
// prefix), with `discImages` read as CD-ROM drives (Linux only: Windows mounts images
// itself). Null when it cannot, with the reason in `error`. `opened` names a Wine prefix
// opened and the image drives, for the driver to print; it stays empty otherwise.
std::unique_ptr<SystemPlatform> OpenSystemPlatform(const std::optional<std::string>& winePrefix,
                                                   const std::optional<std::string>& sandbox,
                                                   const std::vector<std::string>& discImages, std::string* opened,
                                                   std::string* error);

// The arguments after the program's name, in UTF-8 (on Windows read from the UTF-16
// command line: `argv` is in the system's code page there).
std::vector<std::string> CommandArguments(int argc, char** argv);

}  // namespace scriptdriver
