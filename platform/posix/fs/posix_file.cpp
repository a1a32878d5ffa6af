#include "platform/posix/fs/posix_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/fs/file_status.h"
#include "platform/posix/fs/write_back.h"

namespace posixplat {
namespace {

constexpr std::int64_t kLargeFile = 1 << 20;

// Opened without blocking so that a named pipe cannot hang the caller; the flag changes
// nothing for a regular file's reads and writes.
UniqueFd OpenWithoutBlocking(const HostOpener& open, int flags, mode_t mode) {
    return open(flags | O_NONBLOCK, mode);
}

// Only a regular file is kept.
bool KeepRegularFile(UniqueFd& fd, struct stat* info) {
    if (::fstat(fd.Get(), info) == 0 && S_ISREG(info->st_mode)) return true;
    fd.Reset();
    errno = EINVAL;
    return false;
}

}  // namespace

PosixFile::PosixFile(UniqueFd fd, std::optional<plat::FileStatus> statusAtOpen)
    : m_fd(std::move(fd)), m_statusAtOpen(std::move(statusAtOpen)) {}

PosixFile::~PosixFile() {
    if (!m_fd.Valid()) return;
    // Written from the start, so where the file stands is what it wrote.
    if (m_writeBack) m_writeBack->Written(m_fd.Get(), ::lseek(m_fd.Get(), 0, SEEK_CUR));
    if (m_keeper) m_keeper->Keep(std::move(m_keptPath), std::move(m_fd));
}

void PosixFile::WriteBackThrough(std::shared_ptr<WriteBack> writeBack) { m_writeBack = std::move(writeBack); }

void PosixFile::HandOverOnClose(std::shared_ptr<LastWrittenFile> keeper, std::string path) {
    m_keeper = std::move(keeper);
    m_keptPath = std::move(path);
}

template <typename Step>
bool PosixFile::Gather(std::size_t size, std::size_t* got, Step step) {
    std::size_t total = 0;
    while (total < size) {
        const ssize_t n = step(total);
        if (n < 0) return false;
        if (n == 0) break;
        total += static_cast<std::size_t>(n);
        m_position += n;
        // Reaching the size the file had when it was opened is its end; another call
        // would only confirm it, once for every file copied.
        if (m_statusAtOpen && m_position >= m_statusAtOpen->size) break;
    }
    *got = total;
    return true;
}

bool PosixFile::Read(void* buffer, std::size_t size, std::size_t* got) {
    auto* bytes = static_cast<unsigned char*>(buffer);
    return Gather(size, got, [&](std::size_t done) {
        ssize_t n;
        do {
            n = ::read(m_fd.Get(), bytes + done, size - done);
        } while (n < 0 && errno == EINTR);
        return n;
    });
}

bool PosixFile::TransferTo(plat::File& out, void* buffer, std::size_t size, std::size_t* got) {
    const std::intptr_t outFd = out.SystemHandle();
    if (outFd < 0) return plat::File::TransferTo(out, buffer, size, got);
    return Gather(size, got, [&](std::size_t done) {
        for (;;) {
            const ssize_t n = MoveOnce(m_fd.Get(), static_cast<int>(outFd), buffer, size - done, &m_route);
            // A file that says it is empty may still have bytes that only read gives (as
            // files of /proc do): the kernel's own copies stop at the size they are told.
            if (n != 0 || m_position != 0 || m_route == CopyRoute::kThroughBuffer) return n;
            m_route = CopyRoute::kThroughBuffer;
        }
    });
}

ssize_t PosixFile::MoveFrom(int in, off_t* inOffset, void* buffer, std::size_t size, CopyRoute* route) {
    return MoveOnce(in, m_fd.Get(), buffer, size, route, inOffset);
}

bool PosixFile::Write(const void* buffer, std::size_t size) {
    return WriteWhole(m_fd.Get(), static_cast<const unsigned char*>(buffer), size);
}

bool PosixFile::GetStatus(plat::FileStatus* status) {
    if (m_statusAtOpen) {
        *status = *m_statusAtOpen;
        return true;
    }
    return StatusOfDescriptor(m_fd.Get(), status);
}

namespace {

// A source file keeps its place among the open reads until it is closed.
class SharedReadFile : public PosixFile {
public:
    SharedReadFile(UniqueFd fd, plat::FileStatus status, OpenReads::Share share)
        : PosixFile(std::move(fd), status), m_share(std::move(share)) {}

private:
    OpenReads::Share m_share;
};

}  // namespace

std::unique_ptr<plat::File> OpenHostFileForRead(const HostOpener& open, OpenReads& reads) {
    UniqueFd fd = OpenWithoutBlocking(open, O_RDONLY, 0);
    if (!fd.Valid()) return nullptr;
    plat::FileStatus status;
    HostIdentity identity;
    if (!StatusOfDescriptor(fd.Get(), &status, &identity)) return nullptr;
    if (!S_ISREG(identity.mode)) {
        errno = EINVAL;
        return nullptr;
    }
    // Files are read once from start to end: let the kernel read ahead generously where
    // that can help, for files of more than one transfer block.
    if (status.size > kLargeFile) ::posix_fadvise(fd.Get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    OpenReads::Share share = reads.Add(identity.device, identity.inode);
    return std::make_unique<SharedReadFile>(std::move(fd), status, std::move(share));
}

std::unique_ptr<PosixFile> OpenHostFileForWrite(const HostOpener& open, const OpenReads& reads, bool* created) {
    if (created) *created = false;
    // A new file is the common case and needs one call.
    UniqueFd fd = OpenWithoutBlocking(open, O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd.Valid()) {
        if (created) *created = true;
        return std::make_unique<PosixFile>(std::move(fd));
    }
    if (errno != EEXIST) return nullptr;

    // An existing file is opened without truncation and looked at first: root could open
    // a read-only file, which must stay untouched, and it may be the very file being read.
    fd = OpenWithoutBlocking(open, O_WRONLY, 0);
    struct stat info;
    if (!fd.Valid() || !KeepRegularFile(fd, &info)) return nullptr;
    if (IsReadOnlyMode(info.st_mode)) {
        errno = EACCES;
        return nullptr;
    }
    if (reads.Contains(info.st_dev, info.st_ino)) {
        errno = ETXTBSY;
        return nullptr;
    }
    if (info.st_size != 0 && ::ftruncate(fd.Get(), 0) != 0) return nullptr;
    return std::make_unique<PosixFile>(std::move(fd));
}

}  // namespace posixplat
