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
// image file of a FUSE mount, and "x:"="cdrom" in HKLM\Software\Wine\Drives through
// `registry` (system.reg, its other lines kept as they are). Only while the prefix's
// server lock is held. Returns one line for each drive added; what could not be done
// goes to `problems`.
// Wine's mount manager reads the label and serial from x:: either way, but a program
// asking for the volume of x:\ is answered from it only when x:: is a block device: Wine
// finds the volume of an opened device file by walking up its path to a drive's root,
// which for an image file is the drive holding the image (Z: for /), while /dev lies on
// a file system of its own and its devices are matched by device number instead.
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
