// The drives file reader on any text: whatever it accepts is a usable table, one
// upper-case letter per drive, each mapped to an absolute host folder; every line it
// reports is a line of the text; and any host folder at all, written as a line, reads
// back as the same folder.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/posix/drives/drives_file.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<posixplat::DriveLineProblem> problems;
    const std::vector<posixplat::DriveMapping> drives = posixplat::ParseDriveTable(text, &problems);
    FUZZ_CHECK(drives.size() <= 26);
    const std::size_t lines = 1 + static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    for (const posixplat::DriveLineProblem& problem : problems) {
        FUZZ_CHECK(problem.line >= 1 && static_cast<std::size_t>(problem.line) <= lines && !problem.reason.empty());
    }

    // The input as a host folder: made absolute, without NUL and trailing slashes, the
    // way a root becomes a folder of the table.
    std::string folder = "/" + text;
    folder.erase(std::remove(folder.begin(), folder.end(), '\0'), folder.end());
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    const posixplat::DriveMapping written{'C', plat::DriveType::Fixed, folder};
    posixplat::DriveMapping read{};
    FUZZ_CHECK(posixplat::ParseDriveLine(posixplat::FormatDriveLine(written), &read) == posixplat::DriveLineKind::Drive);
    FUZZ_CHECK(read.letter == 'C' && read.type == plat::DriveType::Fixed && read.hostFolder == folder);
    for (const posixplat::DriveMapping& drive : drives) {
        FUZZ_CHECK(drive.letter >= 'A' && drive.letter <= 'Z');
        FUZZ_CHECK(posixplat::FindDrive(drives, drive.letter) == &drive);
        FUZZ_CHECK(!drive.hostFolder.empty() && drive.hostFolder.front() == '/');
        FUZZ_CHECK(drive.hostFolder == "/" || drive.hostFolder.back() != '/');
        FUZZ_CHECK(drive.hostFolder.find('\0') == std::string::npos);
    }
    return 0;
}
