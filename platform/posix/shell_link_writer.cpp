#include "platform/posix/shell_link_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

namespace posixplat {
namespace {

// Closes the descriptor and, unless released, removes the temporary file.
class TempFile {
public:
    TempFile() = default;
    ~TempFile() {
        if (m_fd >= 0) ::close(m_fd);
        if (!m_path.empty()) ::unlink(m_path.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    // Creates a file of a fresh name in the folder of `target`; the umask applies as it
    // does to any new file.
    bool Create(const std::string& target) {
        const std::size_t slash = target.rfind('/');
        const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
        const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
        std::random_device random;
        for (int attempt = 0; attempt < 16; ++attempt) {
            char suffix[16];
            std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
            std::string path = folder + "." + name + "." + suffix + ".tmp";
            const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                m_fd = fd;
                m_path = std::move(path);
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

    bool RenameTo(const std::string& target) {
        if (::rename(m_path.c_str(), target.c_str()) != 0) return false;
        m_path.clear();
        return true;
    }

private:
    int m_fd = -1;
    std::string m_path;
};

}  // namespace

bool WriteShellLinkFile(const std::string& hostPath, const std::vector<unsigned char>& bytes) {
    if (hostPath.empty() || hostPath.back() == '/') return false;
    TempFile temp;
    return temp.Create(hostPath) && temp.WriteAll(bytes.data(), bytes.size()) && temp.Finish() &&
           temp.RenameTo(hostPath);
}

}  // namespace posixplat
