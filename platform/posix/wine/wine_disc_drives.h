#pragma once
// Discs mounted on the host, given drive letters in a Wine prefix as Wine's mount manager
// gives them, so that the installer offers the disc and the game finds it at play time.
#include <string>
#include <vector>

#include "platform/posix/drives/optical_mounts.h"
#include "platform/registry.h"

namespace posixplat {

// Gives each disc of `mounts` that no letter of `prefix` reaches yet its letter
// (ChooseDiscLetter): dosdevices/x: to the mount point, x:: to the block device or the
// image file of a FUSE mount (so that Wine reads the volume label and serial from it),
// and "x:"="cdrom" in HKLM\Software\Wine\Drives through `registry` (system.reg, its
// other lines kept as they are). Only while the prefix's server lock is held. Returns one
// line for each drive added; what could not be done goes to `problems`.
std::vector<std::string> AddWineDiscDrives(const std::string& prefix, const std::vector<OpticalMount>& mounts,
                                           plat::Registry& registry, std::vector<std::string>* problems);

}  // namespace posixplat
