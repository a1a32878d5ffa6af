#include "platform/posix/fs/file_status.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace posixplat {
namespace {

// Seconds from 1601-01-01 to 1970-01-01.
constexpr std::int64_t kEpochDifference = 11644473600LL;
constexpr std::int64_t kTicksPerSecond = 10000000LL;

plat::FileStatus StatusFromStatx(const struct statx& info) {
    plat::FileStatus status;
    status.lastWriteTime = ToFileTime(info.stx_mtime.tv_sec, info.stx_mtime.tv_nsec);
    status.lastAccessTime = ToFileTime(info.stx_atime.tv_sec, info.stx_atime.tv_nsec);
    // Not every file system records a birth time; the last write is the nearest stand-in.
    status.creationTime = (info.stx_mask & STATX_BTIME) ? ToFileTime(info.stx_btime.tv_sec, info.stx_btime.tv_nsec)
                                                        : status.lastWriteTime;
    const bool folder = S_ISDIR(info.stx_mode);
    status.size = folder ? 0 : static_cast<std::int64_t>(info.stx_size);
    std::uint32_t attributes = 0;
    if (folder) attributes |= plat::kAttrDirectory;
    if (IsReadOnlyMode(info.stx_mode)) attributes |= plat::kAttrReadOnly;
    if (!folder && attributes == 0) attributes = plat::kAttrArchive;
    status.attributes = attributes;
    return status;
}

bool StatusByStatx(int dirFd, const char* path, int flags, plat::FileStatus* status, HostIdentity* identity) {
    struct statx info;
    if (::statx(dirFd, path, flags, STATX_BASIC_STATS | STATX_BTIME, &info) != 0) return false;
    *status = StatusFromStatx(info);
    if (identity) {
        identity->mode = info.stx_mode;
        identity->device = makedev(info.stx_dev_major, info.stx_dev_minor);
        identity->inode = info.stx_ino;
    }
    return true;
}

}  // namespace

plat::FileTime ToFileTime(std::int64_t seconds, std::int64_t nanoseconds) {
    const std::int64_t since1601 = seconds + kEpochDifference;
    if (since1601 < 0) return 0;
    return static_cast<plat::FileTime>(since1601) * kTicksPerSecond + static_cast<plat::FileTime>(nanoseconds / 100);
}

timespec FromFileTime(plat::FileTime time) {
    timespec result{};
    result.tv_sec = static_cast<time_t>(static_cast<std::int64_t>(time / kTicksPerSecond) - kEpochDifference);
    result.tv_nsec = static_cast<long>((time % kTicksPerSecond) * 100);
    return result;
}

bool IsReadOnlyMode(mode_t mode) { return (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0; }

bool StatusOfDescriptor(int fd, plat::FileStatus* status, HostIdentity* identity) {
    return StatusByStatx(fd, "", AT_EMPTY_PATH, status, identity);
}

bool ApplyStatusToDescriptor(int fd, mode_t mode, const plat::FileStatus& status) {
    timespec times[2];
    times[0] = status.lastAccessTime ? FromFileTime(status.lastAccessTime) : timespec{0, UTIME_OMIT};
    times[1] = status.lastWriteTime ? FromFileTime(status.lastWriteTime) : timespec{0, UTIME_OMIT};
    if (::futimens(fd, times) != 0) return false;

    // Setting times never changes the permission bits, so the caller's look holds.
    const mode_t bits = mode & 07777;
    mode_t wanted = bits;
    if (status.attributes & plat::kAttrReadOnly) {
        wanted &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
    } else {
        wanted |= S_IWUSR;
    }
    if (wanted == bits) return true;
    return ::fchmod(fd, wanted) == 0;
}

}  // namespace posixplat
