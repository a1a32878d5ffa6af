#include "platform/posix/wine/wine_server.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace posixplat {
namespace {

std::string TemporaryFolder() {
    const char* tmp = std::getenv("TMPDIR");
    return tmp && *tmp == '/' ? std::string(tmp) : std::string("/tmp");
}

// The whole of a small file; empty when it cannot be read.
std::string SmallFile(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW));
    struct stat info;
    if (!fd.Valid() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
    char buffer[512];
    const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
    return got > 0 ? std::string(buffer, static_cast<std::size_t>(got)) : std::string();
}

// Debian's Wine keeps its server folders in a private folder whose name (relative to the
// temporary folder) it records in <prefix>/wineserver, made with mkdtemp on first use.
bool DebianServerRoot(const std::string& prefix, std::string* root, std::string* error) {
    const std::string record = prefix + "/wineserver";
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::string name = SmallFile(record);
        name = name.substr(0, name.find('\n'));
        if (!name.empty()) {
            *root = name[0] == '/' ? name : TemporaryFolder() + "/" + name;
            return true;
        }
        std::string made = TemporaryFolder() + "/wine-XXXXXX";
        if (!::mkdtemp(made.data())) {
            *error = "cannot make a folder for Wine's server in " + TemporaryFolder() + ": " + std::strerror(errno);
            return false;
        }
        UniqueFd out(::open(record.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0400));
        const std::string written = made.substr(TemporaryFolder().size() + 1);
        if (out.Valid() && ::write(out.Get(), written.data(), written.size()) == static_cast<ssize_t>(written.size())) {
            *root = made;
            return true;
        }
        const int why = errno;
        ::rmdir(made.c_str());
        // Another Wine program recorded its own meanwhile: take that one.
        if (why != EEXIST) {
            *error = "cannot write " + record + ": " + std::strerror(why);
            return false;
        }
    }
    *error = "cannot read " + record;
    return false;
}

// A folder of ours that only we may enter, as Wine requires of its server folders.
bool PrivateFolder(const std::string& folder, std::string* error) {
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        *error = "cannot make " + folder + ": " + std::strerror(errno);
        return false;
    }
    struct stat info;
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) {
        *error = folder + " is not a folder of yours, so Wine's server cannot use it";
        return false;
    }
    return true;
}

std::string ProcessName(pid_t pid) {
    std::string name = SmallFile("/proc/" + std::to_string(pid) + "/comm");
    return name.substr(0, name.find('\n'));
}

}  // namespace

std::unique_ptr<WineServerLock> WineServerLock::Take(const std::string& prefix, std::string* error) {
    struct stat info;
    if (::stat(prefix.c_str(), &info) != 0) {
        *error = "cannot read " + prefix + ": " + std::strerror(errno);
        return nullptr;
    }
    // Wine names the server's folder after the prefix's device and inode.
    char serverName[64];
    std::snprintf(serverName, sizeof serverName, "server-%llx-%llx", static_cast<unsigned long long>(info.st_dev),
                  static_cast<unsigned long long>(info.st_ino));

    std::string debianRoot;
    if (!DebianServerRoot(prefix, &debianRoot, error)) return nullptr;
    std::unique_ptr<WineServerLock> lock(new WineServerLock());
    for (const std::string& root : {debianRoot, "/tmp/.wine-" + std::to_string(::getuid())}) {
        const std::string folder = root + "/" + serverName;
        if (!PrivateFolder(root, error) || !PrivateFolder(folder, error)) return nullptr;
        const std::string path = folder + "/lock";
        UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (!fd.Valid()) {
            *error = "cannot open Wine's server lock " + path + ": " + std::strerror(errno);
            return nullptr;
        }
        // The very byte the server locks.
        struct flock range {};
        range.l_type = F_WRLCK;
        range.l_whence = SEEK_SET;
        range.l_start = 0;
        range.l_len = 1;
        if (::fcntl(fd.Get(), F_SETLK, &range) != 0) {
            struct flock holder = range;
            const bool known = ::fcntl(fd.Get(), F_GETLK, &holder) == 0 && holder.l_type != F_UNLCK;
            const std::string name = known ? ProcessName(holder.l_pid) : std::string();
            if (!known || name.rfind("wineserver", 0) == 0) {
                *error = "Wine is running programs in the prefix " + prefix +
                         "; it keeps the prefix's registry in memory and would undo the install when they end. "
                         "Close the programs of this prefix, or end them with: WINEPREFIX=\"" + prefix +
                         "\" wineserver -k";
            } else {
                *error = "another program (" + name + ", process " + std::to_string(holder.l_pid) +
                         ") is changing the prefix " + prefix + "; wait for it to end";
            }
            return nullptr;
        }
        lock->m_locks.push_back(std::move(fd));
        lock->m_paths.push_back(path);
    }
    return lock;
}

}  // namespace posixplat
