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

// Status of an open file or folder (a descriptor opened with O_PATH will do).
// With `mode`, also the file's type and permission bits (st_mode).
bool StatusOfDescriptor(int fd, plat::FileStatus* status, mode_t* mode = nullptr);

// Sets the last-write and last-access times (a time of 0 leaves that stamp alone; the
// creation time cannot be set on Linux and is ignored), then the read-only attribute:
// with kAttrReadOnly every write bit is cleared, without it the owner may write.
bool ApplyStatusToDescriptor(int fd, const plat::FileStatus& status);

}  // namespace posixplat
