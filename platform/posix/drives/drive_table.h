#pragma once
// The drive table: which drive letter stands for which host folder, and what kind of
// drive it is (see drives_file.h for the file it is read from).
#include <cstddef>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace posixplat {

struct DriveMapping {
    char letter;  // upper case
    plat::DriveType type;
    std::string hostFolder;  // absolute, without a trailing slash (except "/")
    // The host path names a disc image file instead of a folder (a cdrom drive only).
    bool image = false;
};

// A drive type by one of its names (the drives file's, or Wine's).
struct NamedDriveType {
    const char* name;  // lower case
    plat::DriveType type;
};

// The type named `name` (in any ASCII case) in `names`; false when none is.
bool FindNamedDriveType(const NamedDriveType* names, std::size_t count, const std::string& name,
                        plat::DriveType* type);

// `folder` without its trailing slashes, "/" kept.
std::string WithoutTrailingSlashes(std::string folder);

// Maps each disc image file in `images` (absolute paths) as a CD-ROM drive on the first
// free letter from D:; an image beyond Z: is described in `problems` and left out.
void AddImageDrives(std::vector<DriveMapping>& drives, const std::vector<std::string>& images,
                    std::vector<std::string>* problems = nullptr);

// Maps each host folder in `mountPoints` that no drive maps yet, as a CD-ROM drive on
// the first free letter from D:. Mount points beyond Z: are left out.
void AddOpticalDrives(std::vector<DriveMapping>& drives, const std::vector<std::string>& mountPoints);

// The drive of `letter` (either case), or null.
const DriveMapping* FindDrive(const std::vector<DriveMapping>& drives, char letter);

}  // namespace posixplat
