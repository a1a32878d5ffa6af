#pragma once
// The header of a run in the install journal: what support needs to read the lines
// that follow.
#include <ctime>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace journal {

struct RunHeader {
    std::string kind;     // "install" or "uninstall"
    std::string version;  // the program's
    std::string build;    // which build and front-end
    std::string drives;   // DriveList
    std::string mode;     // the install mode chosen, or what the uninstall keeps
    std::string state;    // the install state found at start-up
};

// "C: fixed, Q: cdrom": the system's drives and their types.
std::string DriveList(plat::FileSystem& fileSystem);

// The header's lines, the run's start `now` in local time.
std::vector<std::string> HeaderLines(const RunHeader& header, std::time_t now);

// The first lines of a start that changed the system but made no run (a disc given a
// drive letter, say): its time, the program and the drives; `header`'s kind, mode and
// state are not used.
std::vector<std::string> StartLines(const RunHeader& header, std::time_t now);

}  // namespace journal
