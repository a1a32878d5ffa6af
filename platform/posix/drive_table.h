#pragma once
// The drive table: which drive letter stands for which host folder, and what kind of
// drive it is. Read from <root>/drives, one drive a line:
//
//     # comment
//     C: fixed /home/me/.local/share/mirel-setup/drive_c
//     Q: cdrom /media/cdrom0
//
// Types are fixed, cdrom, removable, remote and ramdisk (any letter case). A `#` at the
// start of a line or after white space starts a comment. Lines that cannot be read are
// passed over, and so is a later line for a letter that is already mapped.
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace posixplat {

struct DriveMapping {
    char letter;  // upper case
    plat::DriveType type;
    std::string hostFolder;  // absolute, without a trailing slash (except "/")
};

enum class DriveLineKind { Blank, Drive, Malformed };

// Reads one line of the drives file; fills `drive` for a drive line.
DriveLineKind ParseDriveLine(const std::string& line, DriveMapping* drive);

// Reads a whole drives file: the drive lines in file order, first mapping of a letter wins.
std::vector<DriveMapping> ParseDriveTable(const std::string& text);

// Reads <root>/drives. When the file is missing it is created with
// "C: fixed <root>/drive_c" and that folder is made; the default table is used even
// if writing fails, so a read-only root still has a C: drive.
std::vector<DriveMapping> LoadDriveTable(const std::string& root);

// Maps each host folder in `mountPoints` that no drive maps yet, as a CD-ROM drive on
// the first free letter from D:. Mount points beyond Z: are left out.
void AddOpticalDrives(std::vector<DriveMapping>& drives, const std::vector<std::string>& mountPoints);

// The drive of `letter` (either case), or null.
const DriveMapping* FindDrive(const std::vector<DriveMapping>& drives, char letter);

}  // namespace posixplat
