#include "platform/posix/registry/store/hive_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/posix/fs/kernel_copy.h"
#include "platform/posix/walls/beneath.h"
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
                     std::unique_ptr<HiveFormat> format, std::string wall)
    : m_folder(std::move(folder)),
      m_wall(std::move(wall)),
      m_hiveName(std::move(hiveName)),
      m_filePath(m_folder + "/" + fileName),
      m_fileName(std::move(fileName)),
      m_lockName(m_fileName + ".lock"),
      m_tempName(m_fileName + ".tmp"),
      m_seed(std::move(seed)),
      m_format(std::move(format)),
      m_cache(m_folder, m_fileName, m_hiveName, m_format.get(),
              m_wall.empty() ? LinkReach::kAnywhere : LinkReach::kBeneathBase) {}

UniqueFd HiveStore::OpenFolder(bool create, bool* escaped) const {
    *escaped = false;
    std::error_code ignored;
    if (m_wall.empty()) {
        if (create) std::filesystem::create_directories(m_folder, ignored);
        return UniqueFd(::open(m_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    }
    if (create) std::filesystem::create_directories(m_wall, ignored);
    UniqueFd wall = OpenBaseFolder(m_wall);
    BeneathPath below;
    if (!wall.Valid() || !SplitBeneath(m_wall, m_folder, &below)) return UniqueFd();
    // mkdirat never follows a link in the folder's place; opening it then tells where
    // the link leads.
    if (create && ::mkdirat(wall.Get(), below.relative.c_str(), 0777) != 0 && errno != EEXIST) return UniqueFd();
    return OpenBeneath(wall.Get(), below.relative, O_RDONLY | O_DIRECTORY, 0, escaped);
}

plat::RegResult HiveStore::Current(HiveKey** root, std::string* problem) {
    bool escaped = false;
    const UniqueFd folder = OpenFolder(false, &escaped);
    if (escaped) {
        m_cache.Forget();
        if (problem) *problem = m_folder + ": " + kLeadsOutOfTheRoot;
        return plat::kErrorAccessDenied;
    }
    if (!folder.Valid() && errno != ENOENT) {
        if (problem) *problem = m_folder + ": " + std::strerror(errno);
        return RegResultFromErrno(errno);
    }
    return m_cache.Current(folder.Get(), root, problem);
}

plat::RegResult HiveStore::ReplaceFile(int folder, const std::string& text) const {
    // Whatever an earlier writer left under the temporary name goes first, so that the
    // file written is always a new one made here (O_EXCL refuses even a dangling link).
    ::unlinkat(folder, m_tempName.c_str(), 0);
    UniqueFd fd(::openat(folder, m_tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!fd.Valid()) return RegResultFromErrno(errno);
    // A replaced hive keeps the owner and permissions it had: root replacing a user's
    // hive must leave it readable by that user. (Only root may give a file away; for
    // anyone else the old owner is the caller already.)
    struct stat old {};
    if (::fstatat(folder, m_fileName.c_str(), &old, 0) == 0) {
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) (void)::fchown(fd.Get(), old.st_uid, old.st_gid);
        ::fchmod(fd.Get(), old.st_mode & 07777);
    }

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
    plat::RegResult result = Current(&root);
    if (result != plat::kErrorSuccess) return result;
    if (!root && m_seed) {
        // Create the seeded file first, so that every process sees the same hive.
        result = Modify([](HiveKey&, bool*) { return plat::kErrorSuccess; });
        if (result != plat::kErrorSuccess) return result;
        result = Current(&root);
        if (result != plat::kErrorSuccess) return result;
    }
    if (!root) return read(HiveKey(m_hiveName));
    return read(*root);
}

plat::RegResult HiveStore::Modify(const std::function<plat::RegResult(HiveKey& root, bool* changed)>& change) {
    bool escaped = false;
    UniqueFd folder = OpenFolder(true, &escaped);
    if (!folder.Valid()) return escaped ? plat::kErrorAccessDenied : RegResultFromErrno(errno);
    ExclusiveLock lock(folder.Get(), m_lockName);
    if (!lock.locked()) return RegResultFromErrno(lock.error());

    HiveKey* root = nullptr;
    plat::RegResult result = m_cache.Current(folder.Get(), &root);
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
    return Current(&root, problem) == plat::kErrorSuccess;
}

}  // namespace posixplat::reg
