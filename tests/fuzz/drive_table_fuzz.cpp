// The drives file reader on any text: whatever it accepts is a usable table, one
// upper-case letter per drive, each mapped to an absolute host folder.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/posix/drive_table.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<posixplat::DriveMapping> drives = posixplat::ParseDriveTable(text);
    FUZZ_CHECK(drives.size() <= 26);
    for (const posixplat::DriveMapping& drive : drives) {
        FUZZ_CHECK(drive.letter >= 'A' && drive.letter <= 'Z');
        FUZZ_CHECK(posixplat::FindDrive(drives, drive.letter) == &drive);
        FUZZ_CHECK(!drive.hostFolder.empty() && drive.hostFolder.front() == '/');
        FUZZ_CHECK(drive.hostFolder == "/" || drive.hostFolder.back() != '/');
        FUZZ_CHECK(drive.hostFolder.find('\0') == std::string::npos);
    }
    return 0;
}
