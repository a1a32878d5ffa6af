#include "platform/posix/wine/wine_server.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/posix/walls/posix_handles.h"

namespace posixplat {
namespace {

bool Accepts(const std::string& socketPath) {
    sockaddr_un address{};
    if (socketPath.size() >= sizeof address.sun_path) return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd.Valid()) return false;
    return ::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

// The first line of a small file; empty when it cannot be read.
std::string FirstLine(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info;
    if (!fd.Valid() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
    char buffer[512];
    const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
    if (got <= 0) return {};
    std::string line(buffer, static_cast<std::size_t>(got));
    return line.substr(0, line.find('\n'));
}

}  // namespace

std::string RunningWineServer(const std::string& prefix) {
    struct stat info;
    if (::stat(prefix.c_str(), &info) != 0) return {};
    // Wine names the server's folder after the prefix's device and inode.
    char serverName[64];
    std::snprintf(serverName, sizeof serverName, "server-%llx-%llx", static_cast<unsigned long long>(info.st_dev),
                  static_cast<unsigned long long>(info.st_ino));

    // Upstream Wine keeps it in /tmp/.wine-<uid>; Debian's Wine in a private temporary
    // folder whose name it records in the prefix's file "wineserver".
    std::vector<std::string> folders{"/tmp/.wine-" + std::to_string(::getuid())};
    if (const std::string recorded = FirstLine(prefix + "/wineserver"); !recorded.empty()) {
        if (recorded[0] == '/') {
            folders.push_back(recorded);
        } else {
            const char* tmp = std::getenv("TMPDIR");
            if (tmp && *tmp) folders.push_back(std::string(tmp) + "/" + recorded);
            folders.push_back("/tmp/" + recorded);
        }
    }
    for (const std::string& folder : folders) {
        const std::string socketPath = folder + "/" + serverName + "/socket";
        if (Accepts(socketPath)) return socketPath;
    }
    return {};
}

}  // namespace posixplat
