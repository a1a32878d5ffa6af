#pragma once
// Disc images given for a run (--disc), given drive letters in a Wine prefix as the discs
// they stand for, so that a game installed from one finds it on the same letter at play
// time. During the run the installer reads the image itself; the letter's folder is where
// the game's launcher makes the image readable while the game runs (wine_launchers.h).
#include <string>
#include <vector>

#include "platform/posix/drives/drive_table.h"
#include "platform/registry.h"

namespace posixplat {

struct WineDiscImage {
    char letter = 0;     // 'a' to 'z'
    std::string image;   // the image file, absolute, links resolved
    std::string folder;  // absolute: where the letter's x: leads
    bool inPrefix = false;  // x: and an x:: naming the image were there already
};

// The letter each image of `images` (absolute paths) gets in `prefix`, chosen as for a
// mounted disc (ChooseDiscLetter: the letter whose x:: names the image, else the first
// free from D:), so that the same image keeps its letter from run to run. Nothing is
// written. A fresh letter's folder is <prefix>/mirel-setup-discs/<letter>; a letter that
// already leads somewhere keeps its folder. An image beyond Z:, or given twice, is
// described in `problems` and left out.
std::vector<WineDiscImage> ChooseImageLetters(const std::string& prefix, const std::vector<std::string>& images,
                                              std::vector<std::string>* problems);

// `drives` with each of `images` on its letter as a CD-ROM read from the image file, in
// place of what the letter's folder holds.
void MapDiscImages(std::vector<DriveMapping>& drives, const std::vector<WineDiscImage>& images);

// Writes the letter of each of `images` that is not yet in `prefix`: its folder made, x:
// a relative link to it (so that a prefix moved elsewhere keeps it), x:: the image file
// (Wine reads the label and serial from it) and "x:"="cdrom" through `registry`. Only
// while the prefix's server lock is held. One line for each letter added; what could not
// be done goes to `problems`.
std::vector<std::string> AddWineDiscImages(const std::string& prefix, const std::vector<WineDiscImage>& images,
                                           plat::Registry& registry, std::vector<std::string>* problems);

// Whether fuseiso, which the launchers run to make an image readable, is on the PATH.
bool FuseIsoInstalled();
// What to tell the player when it is not, with the Debian command that installs it.
std::string NoFuseIsoWarning();

}  // namespace posixplat
