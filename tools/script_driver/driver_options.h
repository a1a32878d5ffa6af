#pragma once
// The driver's command-line options: faults to inject into the real platform. The
// product itself takes no arguments.
#include <optional>
#include <string>
#include <vector>

#include "platform/fault/fault_platform.h"

namespace scriptdriver {

struct DriverOptions {
    faultplat::FaultPlan plan;
    // Some option asks for a fault. Without one the dialog runs on the platform exactly
    // as the product does (the host files' copy through the kernel, say), not through
    // the fault platform's wrappers.
    bool injectsFaults = false;
    bool help = false;
    // --wine-prefix [DIR] (Linux): install into a Wine prefix; an empty DIR is Wine's own
    // default prefix. --sandbox [ROOT]: into the sandbox of ROOT, an empty one the default
    // root. Neither: the sandbox when $MIREL_SETUP_ROOT is set, else the prefix.
    std::optional<std::string> winePrefix;
    std::optional<std::string> sandbox;
    // --disc IMAGE (Linux, repeatable): a disc image file read as a CD-ROM drive.
    std::vector<std::string> discImages;
    // The install journal: this file instead of the build's own place, or none at all.
    std::string logFile;
    bool noLog = false;
};

// Reads the arguments after the program name. False with the reason in `error` for an
// unknown option or a bad value.
bool ParseDriverOptions(const std::vector<std::string>& args, DriverOptions* options, std::string* error);

std::string DriverUsage();

}  // namespace scriptdriver
