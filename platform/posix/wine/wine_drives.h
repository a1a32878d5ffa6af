#pragma once
// The drive letters of a Wine prefix: each link <prefix>/dosdevices/x: names the host
// folder of drive X:, and a link x:: the device behind it.
#include <map>
#include <string>
#include <vector>

#include "platform/posix/drives/drive_table.h"
#include "platform/registry.h"

namespace posixplat {

// HKLM\Software\Wine\Drives of `registry`: "d:" -> "cdrom" and the like, by lower-case
// letter and colon.
std::map<std::string, std::string> ReadWineDriveTypes(plat::Registry& registry);

// The drives of `prefix`. A letter's host folder is its dosdevices link itself, which the
// file system follows as Wine does; a link that leads to no folder gives no drive. Types
// come from `typeNames` (the values of HKLM\Software\Wine\Drives: "c:" -> "hd", "cdrom",
// "network", "floppy", "ramdisk") where set, otherwise as Wine guesses them: the mount
// point of an optical file system in `mountTable` (a file in the form of
// /proc/self/mountinfo), or a letter whose device link names an optical drive, is a CD-ROM;
// anything else is a fixed disk.
std::vector<DriveMapping> ReadWineDrives(const std::string& prefix, const std::map<std::string, std::string>& typeNames,
                                         const std::string& mountTable);

}  // namespace posixplat
