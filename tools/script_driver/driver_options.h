#pragma once
// The driver's command-line options: faults to inject into the real platform. The
// product itself takes no arguments.
#include <string>
#include <vector>

#include "platform/fault/fault_platform.h"

namespace scriptdriver {

struct DriverOptions {
    faultplat::FaultPlan plan;
    bool help = false;
    // The install journal: this file instead of the build's own place, or none at all.
    std::string logFile;
    bool noLog = false;
};

// Reads the arguments after the program name. False with the reason in `error` for an
// unknown option or a bad value.
bool ParseDriverOptions(const std::vector<std::string>& args, DriverOptions* options, std::string* error);

std::string DriverUsage();

}  // namespace scriptdriver
