#include "platform/posix/hive_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "platform/posix/hive_file_format.h"
#include "platform/posix/posix_registry.h"

namespace posixplat::reg {
namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // Closes now so that a failing close (a late write error) can be seen.
    bool Close() {
        const int fd = m_fd;
        m_fd = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int m_fd;
};

plat::RegResult ErrorFromErrno(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return plat::kErrorAccessDenied;
    default:
        return kErrorRegistryIoFailed;
    }
}

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

bool FlushFolder(const std::string& folder) {
    FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return fd.valid() && ::fsync(fd.get()) == 0;
}

// Holds the hive's exclusive lock for its lifetime; the kernel drops it if the process
// dies, so a killed writer never leaves the hive locked.
class ExclusiveLock {
public:
    explicit ExclusiveLock(const std::string& path)
        : m_fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666)) {
        if (!m_fd.valid()) {
            m_error = errno;
            return;
        }
        while (::flock(m_fd.get(), LOCK_EX) != 0) {
            if (errno != EINTR) {
                m_error = errno;
                return;
            }
        }
        m_locked = true;
    }
    ~ExclusiveLock() {
        if (m_locked) ::flock(m_fd.get(), LOCK_UN);
    }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;
    bool locked() const { return m_locked; }
    int error() const { return m_error; }

private:
    FileDescriptor m_fd;
    bool m_locked = false;
    int m_error = 0;
};

}  // namespace

HiveStore::HiveStore(std::string folder, std::string hiveName, Seed seed)
    : m_folder(std::move(folder)),
      m_hiveName(std::move(hiveName)),
      m_filePath(m_folder + "/" + m_hiveName + ".reg"),
      m_lockPath(m_filePath + ".lock"),
      m_tempPath(m_filePath + ".tmp"),
      m_seed(std::move(seed)) {}

plat::RegResult HiveStore::LoadFile(HiveKey* root, Load* state) const {
    FileDescriptor fd(::open(m_filePath.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) {
        if (errno == ENOENT) {
            *state = Load::kAbsent;
            return plat::kErrorSuccess;
        }
        return ErrorFromErrno(errno);
    }
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0) return ErrorFromErrno(errno);
    if (!S_ISREG(status.st_mode)) return plat::kErrorBadDb;

    std::string text;
    text.reserve(static_cast<std::size_t>(status.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            return ErrorFromErrno(errno);
        }
        if (got == 0) break;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    if (!ParseHive(text, root, nullptr)) return plat::kErrorBadDb;
    *state = Load::kOk;
    return plat::kErrorSuccess;
}

plat::RegResult HiveStore::ReplaceFile(const HiveKey& root) const {
    const std::string text = SerialiseHive(root);
    FileDescriptor fd(::open(m_tempPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!fd.valid()) return ErrorFromErrno(errno);
    // A replaced hive keeps the permissions it had.
    struct stat old {};
    if (::stat(m_filePath.c_str(), &old) == 0) ::fchmod(fd.get(), old.st_mode & 07777);

    bool written = WriteAll(fd.get(), text) && ::fsync(fd.get()) == 0;
    int error = errno;
    written = fd.Close() && written;
    if (written && ::rename(m_tempPath.c_str(), m_filePath.c_str()) != 0) {
        error = errno;
        written = false;
    }
    if (!written) {
        ::unlink(m_tempPath.c_str());
        return ErrorFromErrno(error);
    }
    // The rename itself is durable only once the folder is flushed.
    if (!FlushFolder(m_folder)) return ErrorFromErrno(errno);
    return plat::kErrorSuccess;
}

plat::RegResult HiveStore::Read(const std::function<plat::RegResult(const HiveKey& root)>& read) {
    HiveKey root(m_hiveName);
    Load state;
    plat::RegResult result = LoadFile(&root, &state);
    if (result != plat::kErrorSuccess) return result;
    if (state == Load::kAbsent && m_seed) {
        // Create the seeded file first, so that every process sees the same hive.
        result = Modify([](HiveKey&, bool*) { return plat::kErrorSuccess; });
        if (result != plat::kErrorSuccess) return result;
        HiveKey created(m_hiveName);
        result = LoadFile(&created, &state);
        if (result != plat::kErrorSuccess) return result;
        return read(created);
    }
    return read(root);
}

plat::RegResult HiveStore::Modify(const std::function<plat::RegResult(HiveKey& root, bool* changed)>& change) {
    std::error_code ec;
    std::filesystem::create_directories(m_folder, ec);
    ExclusiveLock lock(m_lockPath);
    if (!lock.locked()) return ErrorFromErrno(lock.error());

    HiveKey root(m_hiveName);
    Load state;
    plat::RegResult result = LoadFile(&root, &state);
    if (result != plat::kErrorSuccess) return result;
    bool changed = false;
    if (state == Load::kAbsent && m_seed) {
        m_seed(root);
        changed = true;
    }
    result = change(root, &changed);
    if (result != plat::kErrorSuccess) return result;
    if (!changed) return plat::kErrorSuccess;
    return ReplaceFile(root);
}

}  // namespace posixplat::reg
