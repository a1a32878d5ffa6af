#pragma once
// The drive table: which drive letter stands for which host folder, and what kind of
// drive it is. Read from <root>/drives, one drive a line:
//
//     # comment
//     C: fixed /home/me/.local/share/mirel-setup/drive_c
//     Q: cdrom /media/cdrom0
//
//     D: fixed "/srv/games #2/\x0a"
//
// Types are fixed, cdrom, removable, remote and ramdisk (any letter case). A `#` at the
// start of a line or after white space starts a comment. A host folder in double quotes
// may hold any byte: inside the quotes `\\` is a backslash, `\"` a quote and `\xHH` the
// byte of two hex digits; without quotes it runs to the comment or the end of the line,
// surrounding white space dropped. Lines that cannot be used are passed over, and so is
// a later line for a letter that is already mapped; each is reported.
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

enum class DriveLineKind { Blank, Drive, Malformed };

// A drive type by one of its names (the drives file's, or Wine's).
struct NamedDriveType {
    const char* name;  // lower case
    plat::DriveType type;
};

// The type named `name` (in any ASCII case) in `names`; false when none is.
bool FindNamedDriveType(const NamedDriveType* names, std::size_t count, const std::string& name,
                        plat::DriveType* type);

// Reads one line of the drives file; fills `drive` for a drive line, and `why` (when
// given) for a malformed one.
DriveLineKind ParseDriveLine(const std::string& line, DriveMapping* drive, std::string* why = nullptr);

// The line that ParseDriveLine reads back as `drive`, its folder quoted when it needs to be.
std::string FormatDriveLine(const DriveMapping& drive);

// A line of the drives file that was not used, and why.
struct DriveLineProblem {
    int line;  // 1-based
    std::string reason;
};

// Reads a whole drives file: the drive lines in file order, first mapping of a letter wins.
std::vector<DriveMapping> ParseDriveTable(const std::string& text, std::vector<DriveLineProblem>* problems = nullptr);

// Reads <root>/drives, which must be a regular file (anything else is never opened for
// reading, so a named pipe cannot block). When the file is missing it is created with
// "C: fixed <root>/drive_c" and that folder is made; the default table is used even
// if writing fails, so a read-only root still has a C: drive. Every line that is not
// used, and a file that cannot be read, is described in `problems` as
// "<file>: line N: reason" or "<file>: reason".
std::vector<DriveMapping> LoadDriveTable(const std::string& root, std::vector<std::string>* problems = nullptr);

// Marks each cdrom drive whose host path is a regular file as a disc image. A drive of
// another type naming a file is left out, described in `problems` when given.
void MarkImageDrives(std::vector<DriveMapping>& drives, std::vector<std::string>* problems = nullptr);

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
