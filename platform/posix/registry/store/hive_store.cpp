#include "platform/posix/registry/store/hive_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/posix/fs/kernel_copy.h"
#include "platform/posix/walls/posix_handles.h"
#include "platform/posix/registry/store/registry_errno.h"

namespace posixplat::reg {
namespace {

// Closes now so that a failing close (a late write error) can be seen.
bool CloseChecked(UniqueFd& fd) {
    const int raw = fd.Release();
    return raw < 0 || ::close(raw) == 0;
}

// Holds the hive's exclusive lock for its lifetime; the kernel drops it if the process
// dies, so a killed writer never leaves the hive locked. Only a regular file in the
// folder itself serves: no link is followed.
class ExclusiveLock {
public:
    ExclusiveLock(int folder, const std::string& name)
        : m_fd(::openat(folder, name.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666)) {
        struct stat status {};
        if (!m_fd.Valid() || ::fstat(m_fd.Get(), &status) != 0) {
            m_error = errno;
            return;
        }
        if (!S_ISREG(status.st_mode)) {
            m_error = EINVAL;
            return;
        }
        while (::flock(m_fd.Get(), LOCK_EX) != 0) {
            if (errno != EINTR) {
                m_error = errno;
                return;
            }
        }
        m_locked = true;
    }
    ~ExclusiveLock() {
        if (m_locked) ::flock(m_fd.Get(), LOCK_UN);
    }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;
    bool locked() const { return m_locked; }
    int error() const { return m_error; }

private:
    UniqueFd m_fd;
    bool m_locked = false;
    int m_error = 0;
};

}  // namespace

HiveStore::HiveStore(std::string folder, std::string fileName, std::string hiveName, Seed seed,
                     std::unique_ptr<HiveFormat> format)
    : m_folder(std::move(folder)),
      m_hiveName(std::move(hiveName)),
      m_filePath(m_folder + "/" + fileName),
      m_fileName(std::move(fileName)),
      m_lockName(m_fileName + ".lock"),
      m_tempName(m_fileName + ".tmp"),
      m_seed(std::move(seed)),
      m_format(std::move(format)),
      m_cache(m_filePath, m_hiveName, m_format.get()) {}

plat::RegResult HiveStore::ReplaceFile(int folder, const std::string& text) const {
    // Whatever an earlier writer left under the temporary name goes first, so that the
    // file written is always a new one made here (O_EXCL refuses even a dangling link).
    ::unlinkat(folder, m_tempName.c_str(), 0);
    UniqueFd fd(::openat(folder, m_tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!fd.Valid()) return RegResultFromErrno(errno);
    // A replaced hive keeps the permissions it had.
    struct stat old {};
    if (::fstatat(folder, m_fileName.c_str(), &old, 0) == 0) ::fchmod(fd.Get(), old.st_mode & 07777);

    bool written = WriteWhole(fd.Get(), reinterpret_cast<const unsigned char*>(text.data()), text.size()) &&
                   ::fsync(fd.Get()) == 0;
    int error = errno;
    written = CloseChecked(fd) && written;
    if (written && ::renameat(folder, m_tempName.c_str(), folder, m_fileName.c_str()) != 0) {
        error = errno;
        written = false;
    }
    if (!written) {
        ::unlinkat(folder, m_tempName.c_str(), 0);
        return RegResultFromErrno(error);
    }
    // The rename itself is durable only once the folder is flushed.
    if (::fsync(folder) != 0) return RegResultFromErrno(errno);
    return plat::kErrorSuccess;
}

plat::RegResult HiveStore::Read(const std::function<plat::RegResult(const HiveKey& root)>& read) {
    HiveKey* root = nullptr;
    plat::RegResult result = m_cache.Current(&root);
    if (result != plat::kErrorSuccess) return result;
    if (!root && m_seed) {
        // Create the seeded file first, so that every process sees the same hive.
        result = Modify([](HiveKey&, bool*) { return plat::kErrorSuccess; });
        if (result != plat::kErrorSuccess) return result;
        result = m_cache.Current(&root);
        if (result != plat::kErrorSuccess) return result;
    }
    if (!root) return read(HiveKey(m_hiveName));
    return read(*root);
}

plat::RegResult HiveStore::Modify(const std::function<plat::RegResult(HiveKey& root, bool* changed)>& change) {
    std::error_code ec;
    std::filesystem::create_directories(m_folder, ec);
    UniqueFd folder(::open(m_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.Valid()) return RegResultFromErrno(errno);
    ExclusiveLock lock(folder.Get(), m_lockName);
    if (!lock.locked()) return RegResultFromErrno(lock.error());

    HiveKey* root = nullptr;
    plat::RegResult result = m_cache.Current(&root);
    if (result != plat::kErrorSuccess) return result;
    bool changed = false;
    std::unique_ptr<HiveKey> created;
    if (!root) {
        created = std::make_unique<HiveKey>(m_hiveName);
        root = created.get();
        if (m_seed) {
            m_seed(*root);
            changed = true;
        }
    }
    // From here the kept tree may be edited: unless it ends up written, it is dropped.
    result = change(*root, &changed);
    if (result == plat::kErrorSuccess && changed) {
        std::string text;
        std::string error;
        result = m_format->Serialise(*root, m_cache.KnownSize(), &text, &error) ? ReplaceFile(folder.Get(), text)
                                                                                : plat::kErrorInvalidParameter;
        if (result == plat::kErrorSuccess) {
            m_format->Written();
            m_cache.Wrote(std::move(created), text);
            return result;
        }
    }
    if (result != plat::kErrorSuccess) m_cache.Forget();
    return result;
}

bool HiveStore::Check(std::string* problem) {
    HiveKey* root = nullptr;
    return m_cache.Current(&root, problem) == plat::kErrorSuccess;
}

}  // namespace posixplat::reg
