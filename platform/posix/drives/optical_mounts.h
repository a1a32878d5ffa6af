#pragma once
// Optical discs mounted on the host, so that an inserted game disc shows up as a drive.
#include <string>
#include <vector>

namespace posixplat {

// A mounted disc: an iso9660 or udf file system, or a disc image mounted by fuseiso.
// (archivemount and the like are left out: their archives are no discs, and Wine could
// read no volume from them.)
struct OpticalMount {
    std::string source;      // the block device, or what the FUSE program named itself
    std::string mountPoint;
    std::string type;        // "iso9660", "udf", "fuse.fuseiso"
};

// The process's own mount table, which every drive table is completed from.
inline constexpr const char* kProcessMountTable = "/proc/self/mountinfo";

// The discs of a mount table in the format of /proc/self/mountinfo (octal escapes such
// as \040 for a space are decoded), in table order. Only mounts of a file system's own
// root count: a bind mount of a folder on a disc is no disc. A line cut short is passed
// over.
std::vector<OpticalMount> ParseOpticalMountEntries(const std::string& mountInfo);
std::vector<OpticalMount> ReadOpticalMountEntries(const std::string& mountInfoFile);

// Their mount points only.
std::vector<std::string> ParseOpticalMounts(const std::string& mountInfo);

// The same, read from a file; empty when it cannot be read.
std::vector<std::string> ReadOpticalMounts(const std::string& mountInfoFile);

}  // namespace posixplat
