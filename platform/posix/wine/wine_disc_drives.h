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

// Gives `letter` ('a' to 'z') of the prefix's `dosdevices` folder to a disc as Wine's mount
// manager keeps one: x: a link to `folder` (its text as given, so a relative one stays
// relative), x:: a link to `device` unless that is empty, and "x:"="cdrom" in
// HKLM\Software\Wine\Drives through `registry`. Each link replaces what was there in
// one step. False with the reason in `error`.
bool WriteDiscLetter(const std::string& dosdevices, char letter, const std::string& folder, const std::string& device,
                     plat::Registry& registry, std::string* error);

// The line that says `letter` ('a' to 'z') was added for a disc, `what` saying which
// ("the disc at /media/x (/dev/sr0)").
std::string DiscLetterAddedLine(char letter, const std::string& what);

}  // namespace posixplat
