#pragma once
// The drives file, <root>/drives, which the drive table is read from: one drive a line:
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
#include <string>
#include <vector>

#include "platform/posix/drives/drive_table.h"

namespace posixplat {

enum class DriveLineKind { Blank, Drive, Malformed };

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

}  // namespace posixplat
