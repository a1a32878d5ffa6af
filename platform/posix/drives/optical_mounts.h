#pragma once
// Optical discs mounted on the host, so that an inserted game disc shows up as a drive.
#include <string>
#include <vector>

namespace posixplat {

// The mount points of iso9660 and udf file systems in a mount table in the format of
// /proc/self/mounts (octal escapes such as \040 for a space are decoded), in table order.
std::vector<std::string> ParseOpticalMounts(const std::string& mountTable);

// The same, read from a file; empty when it cannot be read.
std::vector<std::string> ReadOpticalMounts(const std::string& mountTableFile);

}  // namespace posixplat
