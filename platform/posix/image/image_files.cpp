#include "platform/posix/image/image_files.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/posix/image/image_read_errors.h"
#include "platform/posix/fs/posix_file.h"

namespace posixplat {
namespace {

// Nothing is ever written to a disc.
bool RefuseWrite() {
    errno = EROFS;
    return false;
}

// The image ended before the file `name` did, or could not be read: a disc read error,
// its reason kept for the journal.
bool ReadFailed(const std::string& name, int error) {
    NoteImageReadError(EIO, name + (error == 0 ? ": the image ends before the file's data"
                                               : ": the image cannot be read there (" + std::string(std::strerror(error)) + ")"));
    errno = EIO;
    return false;
}

}  // namespace

ImageExtentFile::ImageExtentFile(int fd, off_t start, std::int64_t size, const plat::FileStatus& status,
                                 std::string name)
    : m_fd(fd), m_offset(start), m_left(size), m_status(status), m_name(std::move(name)) {}

std::size_t ImageExtentFile::Remaining(std::size_t size) const {
    return static_cast<std::size_t>(std::min<std::int64_t>(m_left, static_cast<std::int64_t>(size)));
}

bool ImageExtentFile::Read(void* buffer, std::size_t size, std::size_t* got) {
    auto* bytes = static_cast<unsigned char*>(buffer);
    const std::size_t want = Remaining(size);
    std::size_t done = 0;
    while (done < want) {
        const ssize_t n = ::pread(m_fd, bytes + done, want - done, m_offset);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return ReadFailed(m_name, n < 0 ? errno : 0);
        done += static_cast<std::size_t>(n);
        m_offset += n;
        m_left -= n;
    }
    *got = done;
    return true;
}

bool ImageExtentFile::TransferTo(plat::File& out, void* buffer, std::size_t size, std::size_t* got) {
    auto* host = dynamic_cast<PosixFile*>(&out);
    if (!host) return plat::File::TransferTo(out, buffer, size, got);
    const std::size_t want = Remaining(size);
    std::size_t done = 0;
    while (done < want) {
        const off_t before = m_offset;
        const ssize_t n = host->MoveFrom(m_fd, &m_offset, buffer, want - done, &m_route);
        // A failure may be either side's: the system's error stands as it is.
        if (n < 0) return false;
        if (n == 0) return ReadFailed(m_name, 0);
        done += static_cast<std::size_t>(m_offset - before);
        m_left -= m_offset - before;
    }
    *got = done;
    return true;
}

bool ImageExtentFile::Write(const void*, std::size_t) { return RefuseWrite(); }

bool ImageExtentFile::GetStatus(plat::FileStatus* status) {
    *status = m_status;
    return true;
}

ImageBlockFile::ImageBlockFile(ReadNextBlocks read, const plat::FileStatus& status, std::string name)
    : m_read(std::move(read)), m_status(status), m_name(std::move(name)), m_left(status.size) {}

// A read of blocks that failed or gave fewer bytes than the file still has in them.
bool ImageBlockFile::Delivered(ssize_t got, std::size_t needed) const {
    if (got >= 0 && static_cast<std::size_t>(got) >= needed) return true;
    return ReadFailed(m_name, got < 0 ? errno : 0);
}

bool ImageBlockFile::Read(void* buffer, std::size_t size, std::size_t* got) {
    auto* bytes = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < size && (m_blockStart < m_blockEnd || m_left > 0)) {
        if (m_blockStart < m_blockEnd) {
            const std::size_t count = std::min(size - done, m_blockEnd - m_blockStart);
            std::memcpy(bytes + done, m_block + m_blockStart, count);
            done += count;
            m_blockStart += count;
            continue;
        }
        const std::size_t wanted = static_cast<std::size_t>(std::min<std::int64_t>(m_left, size - done));
        const std::size_t whole = wanted / kImageBlockSize;
        if (whole > 0) {
            if (!Delivered(m_read(bytes + done, whole), whole * kImageBlockSize)) return false;
            done += whole * kImageBlockSize;
            m_left -= static_cast<std::int64_t>(whole * kImageBlockSize);
            continue;
        }
        // The last, partial block of the file, or less than a block asked for.
        if (!Delivered(m_read(m_block, 1), static_cast<std::size_t>(std::min<std::int64_t>(m_left, kImageBlockSize)))) {
            return false;
        }
        m_blockStart = 0;
        m_blockEnd = static_cast<std::size_t>(std::min<std::int64_t>(m_left, kImageBlockSize));
        m_left -= static_cast<std::int64_t>(m_blockEnd);
    }
    *got = done;
    return true;
}

bool ImageBlockFile::Write(const void*, std::size_t) { return RefuseWrite(); }

bool ImageBlockFile::GetStatus(plat::FileStatus* status) {
    *status = m_status;
    return true;
}

}  // namespace posixplat
