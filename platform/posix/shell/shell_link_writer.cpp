#include "platform/posix/shell/shell_link_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

namespace posixplat {
namespace {

// Closes the descriptor and, unless released, removes the temporary file.
// A new file of a fresh name in an open folder; removed again unless renamed into place.
class TempFile {
public:
    explicit TempFile(int folderFd) : m_folderFd(folderFd) {}
    ~TempFile() {
        if (m_fd >= 0) ::close(m_fd);
        if (!m_name.empty()) ::unlinkat(m_folderFd, m_name.c_str(), 0);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    // The umask applies as it does to any new file. O_EXCL with O_NOFOLLOW: a link planted
    // under the chosen name is never written through.
    bool Create(const std::string& targetName) {
        std::random_device random;
        for (int attempt = 0; attempt < 16; ++attempt) {
            char suffix[16];
            std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
            std::string name = "." + targetName + "." + suffix + ".tmp";
            const int fd =
                ::openat(m_folderFd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
            if (fd >= 0) {
                m_fd = fd;
                m_name = std::move(name);
                return true;
            }
            if (errno != EEXIST) return false;
        }
        return false;
    }

    bool WriteAll(const unsigned char* data, std::size_t size) {
        while (size > 0) {
            const ssize_t written = ::write(m_fd, data, size);
            if (written < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            data += written;
            size -= static_cast<std::size_t>(written);
        }
        return true;
    }

    // Flushes and closes; the link is on disk before it takes the final name.
    bool Finish() {
        const bool synced = ::fsync(m_fd) == 0;
        const bool closed = ::close(m_fd) == 0;
        m_fd = -1;
        return synced && closed;
    }

    // Replaces the entry itself: a link of that name is replaced, not followed.
    bool RenameTo(const std::string& targetName) {
        if (::renameat(m_folderFd, m_name.c_str(), m_folderFd, targetName.c_str()) != 0) return false;
        m_name.clear();
        return true;
    }

private:
    int m_folderFd;
    int m_fd = -1;
    std::string m_name;
};

}  // namespace

bool WriteShellLinkFile(int folderFd, const std::string& name, const std::vector<unsigned char>& bytes) {
    if (name.empty() || name.find('/') != std::string::npos) return false;
    TempFile temp(folderFd);
    return temp.Create(name) && temp.WriteAll(bytes.data(), bytes.size()) && temp.Finish() && temp.RenameTo(name);
}

}  // namespace posixplat
