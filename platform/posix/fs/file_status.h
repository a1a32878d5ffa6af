#pragma once
// File status with Win32 meaning on a POSIX file system: FILETIME stamps, and a
// read-only attribute that is the absence of every write permission bit.
#include <sys/stat.h>
#include <sys/types.h>

#include <ctime>
#include <string>

#include "platform/file_system.h"

namespace posixplat {

// FILETIME ticks (100 ns since 1601-01-01 UTC) and back. Times before 1601 clamp to 0.
plat::FileTime ToFileTime(std::int64_t seconds, std::int64_t nanoseconds);
timespec FromFileTime(plat::FileTime time);

// Read-only in the Win32 sense: no write bit for anyone.
bool IsReadOnlyMode(mode_t mode);

// What the host knows of a file beyond its Win32 status: its type and permission bits
// (st_mode) and which file it is.
struct HostIdentity {
    mode_t mode = 0;
    dev_t device = 0;
    ino_t inode = 0;
};

// Status of an open file or folder (a descriptor opened with O_PATH will do), with one
// call to the system; with `identity`, also that.
bool StatusOfDescriptor(int fd, plat::FileStatus* status, HostIdentity* identity = nullptr);

// Sets the last-write and last-access times (a time of 0 leaves that stamp alone; the
// creation time cannot be set on Linux and is ignored), then the read-only attribute:
// with kAttrReadOnly every write bit is cleared, without it the owner may write.
// `mode` is the file's st_mode as the caller has just seen it.
bool ApplyStatusToDescriptor(int fd, mode_t mode, const plat::FileStatus& status);

}  // namespace posixplat
