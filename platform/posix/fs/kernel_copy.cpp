#include "platform/posix/fs/kernel_copy.h"

#include <sys/sendfile.h>
#include <unistd.h>

#include <cerrno>

namespace posixplat {
namespace {

// What copy_file_range and sendfile answer when they cannot serve these two files (other
// file systems, a file system without the operation, an older kernel), as against a
// failure of the disk.
bool RouteDoesNotApply(int error) {
    switch (error) {
    case ENOSYS:
    case EXDEV:
    case EINVAL:
    case EBADF:
    case EPERM:
    case ETXTBSY:
    case EOPNOTSUPP:
#if ENOTSUP != EOPNOTSUPP
    case ENOTSUP:
#endif
        return true;
    default:
        return false;
    }
}

ssize_t ThroughBuffer(int in, int out, void* buffer, std::size_t size, off_t* inOffset) {
    ssize_t got;
    do {
        got = inOffset ? ::pread(in, buffer, size, *inOffset) : ::read(in, buffer, size);
    } while (got < 0 && errno == EINTR);
    if (got <= 0) return got;
    if (!WriteWhole(out, static_cast<const unsigned char*>(buffer), static_cast<std::size_t>(got))) return -1;
    if (inOffset) *inOffset += got;
    return got;
}

}  // namespace

bool WriteWhole(int fd, const unsigned char* bytes, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, bytes + done, size - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {  // nothing taken and no error: a full device
            errno = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

ssize_t MoveOnce(int in, int out, void* buffer, std::size_t size, CopyRoute* route, off_t* inOffset) {
    for (;;) {
        ssize_t moved;
        switch (*route) {
        case CopyRoute::kCopyFileRange:
            moved = ::copy_file_range(in, inOffset, out, nullptr, size, 0);
            break;
        case CopyRoute::kSendFile:
            moved = ::sendfile(out, in, inOffset, size);
            break;
        case CopyRoute::kThroughBuffer:
            return ThroughBuffer(in, out, buffer, size, inOffset);
        }
        if (moved >= 0) return moved;
        if (errno == EINTR) continue;
        if (!RouteDoesNotApply(errno)) return -1;
        *route = *route == CopyRoute::kCopyFileRange ? CopyRoute::kSendFile : CopyRoute::kThroughBuffer;
    }
}

}  // namespace posixplat
