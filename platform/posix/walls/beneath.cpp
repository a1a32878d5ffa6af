#include "platform/posix/walls/beneath.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string_view>

namespace posixplat {
namespace {

// Whether this kernel has openat2; learnt at the first call (a seccomp filter may also
// answer ENOSYS for it).
std::atomic<bool> g_openat2Missing{false};

int RetryOnInterrupt(int (*call)(int, const char*, int, mode_t), int dirFd, const char* path, int flags,
                     mode_t mode) {
    int fd;
    do {
        fd = call(dirFd, path, flags, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

int SystemOpenat(int dirFd, const char* path, int flags, mode_t mode) { return ::openat(dirFd, path, flags, mode); }

int SystemOpenat2(int dirFd, const char* path, int flags, mode_t mode) {
    open_how how{};
    how.flags = static_cast<unsigned long long>(flags);
    // O_PATH takes no mode, and openat2 refuses one given with flags that take none.
    how.mode = (flags & (O_CREAT | O_TMPFILE)) ? mode : 0;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
    return static_cast<int>(::syscall(SYS_openat2, dirFd, path, &how, sizeof how));
}

// Without openat2: component by component from the base, no link followed anywhere.
UniqueFd OpenByWalk(int baseFd, const std::string& relative, int flags, mode_t mode, bool* escaped) {
    UniqueFd current(RetryOnInterrupt(SystemOpenat, baseFd, ".", O_PATH | O_DIRECTORY | O_CLOEXEC, 0));
    if (!current.Valid()) return current;
    std::string::size_type pos = 0;
    while (true) {
        const std::string::size_type slash = relative.find('/', pos);
        const std::string name = relative.substr(pos, slash == std::string::npos ? std::string::npos : slash - pos);
        if (name.empty() || name == "..") {
            errno = ENOENT;
            return UniqueFd();
        }
        if (slash == std::string::npos) {
            UniqueFd last(RetryOnInterrupt(SystemOpenat, current.Get(), name.c_str(), flags | O_NOFOLLOW, mode));
            if (!last.Valid() && errno == ELOOP) {
                if (escaped) *escaped = true;
                errno = ENOENT;
            }
            // O_PATH with O_NOFOLLOW opens a link itself rather than failing on it.
            struct stat info;
            if (last.Valid() && (flags & O_PATH) && ::fstat(last.Get(), &info) == 0 && S_ISLNK(info.st_mode)) {
                if (escaped) *escaped = true;
                errno = ENOENT;
                return UniqueFd();
            }
            return last;
        }
        UniqueFd next(RetryOnInterrupt(SystemOpenat, current.Get(), name.c_str(),
                                       O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC, 0));
        if (!next.Valid()) {
            if (errno == ELOOP || errno == ENOTDIR) {
                if (escaped) *escaped = true;
                if (errno == ELOOP) errno = ENOENT;
            }
            return next;
        }
        current = std::move(next);
        pos = slash + 1;
    }
}

}  // namespace

UniqueFd OpenBaseFolder(const std::string& hostFolder) {
    return UniqueFd(RetryOnInterrupt(SystemOpenat, AT_FDCWD, hostFolder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC, 0));
}

int OpenBaseFolders::Get(char letter, const std::string& hostFolder) {
    if (letter < 'A' || letter > 'Z') {
        errno = EINVAL;
        return -1;
    }
    UniqueFd& folder = m_open[static_cast<std::size_t>(letter - 'A')];
    if (!folder.Valid()) folder = OpenBaseFolder(hostFolder);
    return folder.Get();
}

UniqueFd OpenBeneath(int baseFd, const std::string& relative, int flags, mode_t mode, bool* escaped) {
    if (escaped) *escaped = false;
    if (relative.empty() || relative[0] == '/') {
        errno = ENOENT;
        return UniqueFd();
    }
    flags |= O_CLOEXEC;
    if (relative == ".") return UniqueFd(RetryOnInterrupt(SystemOpenat, baseFd, ".", flags, mode));
    if (!g_openat2Missing.load(std::memory_order_relaxed)) {
        const int fd = RetryOnInterrupt(SystemOpenat2, baseFd, relative.c_str(), flags, mode);
        if (fd >= 0) return UniqueFd(fd);
        // EXDEV: the path would leave the base; ELOOP also comes from an absolute link.
        if (errno == EXDEV) {
            if (escaped) *escaped = true;
            errno = ENOENT;
        }
        if (errno != ENOSYS) return UniqueFd();
        g_openat2Missing.store(true, std::memory_order_relaxed);
    }
    return OpenByWalk(baseFd, relative, flags, mode, escaped);
}

UniqueFd OpenBelow(LinkReach reach, int baseFd, const std::string& relative, int flags, mode_t mode, bool* escaped) {
    if (reach == LinkReach::kBeneathBase) return OpenBeneath(baseFd, relative, flags, mode, escaped);
    if (escaped) *escaped = false;
    if (relative.empty() || relative[0] == '/') {
        errno = ENOENT;
        return UniqueFd();
    }
    return UniqueFd(RetryOnInterrupt(SystemOpenat, baseFd, relative.c_str(), flags | O_CLOEXEC, mode));
}

bool SplitBeneath(const std::string& base, const std::string& hostPath, BeneathPath* path) {
    std::string::size_type start;
    if (hostPath == base) {
        start = hostPath.size();
    } else if (base == "/") {
        if (hostPath.empty() || hostPath[0] != '/') return false;
        start = 1;
    } else {
        if (hostPath.compare(0, base.size(), base) != 0 || hostPath.size() <= base.size() ||
            hostPath[base.size()] != '/') {
            return false;
        }
        start = base.size() + 1;
    }
    if (start >= hostPath.size()) {
        path->relative = ".";
        path->parent = ".";
        path->name.clear();
        return true;
    }
    const std::string_view relative(hostPath.data() + start, hostPath.size() - start);
    const std::string_view::size_type slash = relative.rfind('/');
    path->relative.assign(relative);
    path->parent.assign(slash == std::string_view::npos ? std::string_view(".") : relative.substr(0, slash));
    path->name.assign(relative.substr(slash == std::string_view::npos ? 0 : slash + 1));
    return true;
}

}  // namespace posixplat
