#pragma once
// Owners of POSIX handles: each closes its handle exactly once, on every path.
#include <dirent.h>
#include <unistd.h>

#include <utility>

namespace posixplat {

class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : m_fd(fd) {}
    ~UniqueFd() { Reset(); }
    UniqueFd(UniqueFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            Reset();
            m_fd = std::exchange(other.m_fd, -1);
        }
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int Get() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }
    void Reset() {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = -1;
    }
    // Gives up ownership: the caller closes it (to see what close says, say).
    int Release() { return std::exchange(m_fd, -1); }

private:
    int m_fd = -1;
};

class UniqueDir {
public:
    UniqueDir() = default;
    explicit UniqueDir(DIR* dir) : m_dir(dir) {}
    ~UniqueDir() {
        if (m_dir) ::closedir(m_dir);
    }
    UniqueDir(UniqueDir&& other) noexcept : m_dir(std::exchange(other.m_dir, nullptr)) {}
    UniqueDir& operator=(UniqueDir&& other) noexcept {
        if (this != &other) {
            if (m_dir) ::closedir(m_dir);
            m_dir = std::exchange(other.m_dir, nullptr);
        }
        return *this;
    }
    UniqueDir(const UniqueDir&) = delete;
    UniqueDir& operator=(const UniqueDir&) = delete;

    DIR* Get() const { return m_dir; }
    bool Valid() const { return m_dir != nullptr; }

private:
    DIR* m_dir = nullptr;
};

}  // namespace posixplat
