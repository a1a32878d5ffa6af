#include "platform/posix/posix_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/file_status.h"

namespace posixplat {
namespace {

// Opened without blocking, so that a named pipe cannot hang the caller; only a regular
// file is kept. The flag changes nothing for a regular file's reads and writes, so it
// stays set.
UniqueFd OpenRegularFile(const std::string& hostPath, int flags, mode_t mode) {
    int raw;
    do {
        raw = ::open(hostPath.c_str(), flags | O_NONBLOCK | O_CLOEXEC, mode);
    } while (raw < 0 && errno == EINTR);
    UniqueFd fd(raw);
    if (!fd.Valid()) return fd;
    struct stat info;
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return UniqueFd();
    return fd;
}

}  // namespace

PosixFile::PosixFile(UniqueFd fd) : m_fd(std::move(fd)) {}

bool PosixFile::Read(void* buffer, std::size_t size, std::size_t* got) {
    auto* bytes = static_cast<unsigned char*>(buffer);
    std::size_t total = 0;
    while (total < size) {
        const ssize_t n = ::read(m_fd.Get(), bytes + total, size - total);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) break;
        total += static_cast<std::size_t>(n);
    }
    *got = total;
    return true;
}

bool PosixFile::Write(const void* buffer, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    std::size_t total = 0;
    while (total < size) {
        const ssize_t n = ::write(m_fd.Get(), bytes + total, size - total);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return false;  // nothing taken and no error: treat as a full device
        total += static_cast<std::size_t>(n);
    }
    return true;
}

bool PosixFile::GetStatus(plat::FileStatus* status) { return StatusOfDescriptor(m_fd.Get(), status); }

std::unique_ptr<plat::File> OpenHostFileForRead(const std::string& hostPath) {
    UniqueFd fd = OpenRegularFile(hostPath, O_RDONLY, 0);
    if (!fd.Valid()) return nullptr;
    // Files are read once from start to end; let the kernel read ahead generously.
    ::posix_fadvise(fd.Get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    return std::make_unique<PosixFile>(std::move(fd));
}

std::unique_ptr<plat::File> OpenHostFileForWrite(const std::string& hostPath) {
    struct stat info;
    if (::stat(hostPath.c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode) || IsReadOnlyMode(info.st_mode)) return nullptr;
    }
    UniqueFd fd = OpenRegularFile(hostPath, O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (!fd.Valid()) return nullptr;
    return std::make_unique<PosixFile>(std::move(fd));
}

}  // namespace posixplat
