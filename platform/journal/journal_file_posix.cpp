// The journal's file on Linux: opened beneath its folder with O_NOFOLLOW and O_NONBLOCK
// (a link, a FIFO or a folder in its place is refused, never followed or waited for),
// appended with O_APPEND, its bound kept under flock(2) on the journal itself. A writer
// that drops the older half locks the new file before renaming it over the old one; a
// writer that then gets the old file's lock sees that the name has moved on and opens
// the new one.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <random>
#include <thread>

#include "platform/journal/journal_file.h"

namespace journal {

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    Descriptor(Descriptor&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    Descriptor& operator=(Descriptor&& other) noexcept {
        if (this != &other) {
            Reset();
            m_fd = other.m_fd;
            other.m_fd = -1;
        }
        return *this;
    }
    ~Descriptor() { Reset(); }
    int get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }

private:
    void Reset() {
        if (m_fd >= 0) close(m_fd);
        m_fd = -1;
    }
    int m_fd;
};

// A run stopped while it holds the lock must not stop the others: after this long they
// append without it (whole lines still; the bound is kept at the next lock).
constexpr std::chrono::milliseconds kLockPatience(2000);

bool LockWithin(int fd) {
    const auto deadline = std::chrono::steady_clock::now() + kLockPatience;
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) return false;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t wrote = write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

bool ReadAll(int fd, std::string* text) {
    text->clear();
    char buffer[65536];
    for (off_t at = 0;;) {
        const ssize_t got = pread(fd, buffer, sizeof buffer, at);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return true;
        text->append(buffer, static_cast<std::size_t>(got));
        at += got;
    }
}

class PosixJournalFile : public JournalFile {
public:
    PosixJournalFile(Descriptor folder, std::string name) : m_folder(std::move(folder)), m_name(std::move(name)) {}

    // Opens (or creates) the name in the folder; empty on success, else the reason.
    std::string Open() {
        Descriptor file(openat(m_folder.get(), m_name.c_str(),
                               O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644));
        if (!file) {
            if (errno == ELOOP) return "it is a symbolic link";
            if (errno == ENXIO || errno == EISDIR) return "it is not a regular file";
            return std::strerror(errno);
        }
        struct stat status {};
        if (fstat(file.get(), &status) != 0) return std::strerror(errno);
        if (!S_ISREG(status.st_mode)) return "it is not a regular file";
        if (status.st_uid != geteuid()) return "it belongs to another user";
        m_file = std::move(file);
        return {};
    }

    bool AppendBounded(const std::string& lines, std::uintmax_t limit) override {
        if (lines.empty()) return true;
        // Locked the file the name still gives, whoever renamed what in the meantime.
        bool locked = false;
        struct stat status {};
        for (int attempt = 0; attempt < 8 && !locked; ++attempt) {
            if (!LockWithin(m_file.get())) break;
            struct stat named {};
            if (fstat(m_file.get(), &status) != 0) return false;
            if (fstatat(m_folder.get(), m_name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 && SameFile(status, named)) {
                locked = true;
            } else if (!Open().empty()) {
                return false;
            }
        }
        if (locked && static_cast<std::uintmax_t>(status.st_size) + lines.size() > limit) {
            if (!DropOlderHalf(limit)) {
                flock(m_file.get(), LOCK_UN);
                return false;
            }
            if (fstat(m_file.get(), &status) != 0) return false;
        }
        const bool wrote = AppendWhole(lines, locked ? status.st_size : -1);
        if (locked) flock(m_file.get(), LOCK_UN);
        return wrote;
    }

private:
    // Space first, so that a full file system takes all of the lines or none; a write
    // cut short under the lock is taken back, no other writer having appended since.
    bool AppendWhole(const std::string& lines, off_t sizeUnderLock) {
        if (sizeUnderLock >= 0 &&
            fallocate(m_file.get(), FALLOC_FL_KEEP_SIZE, sizeUnderLock, static_cast<off_t>(lines.size())) != 0 &&
            errno == ENOSPC) {
            return false;
        }
        if (WriteAll(m_file.get(), lines)) return true;
        if (sizeUnderLock >= 0) (void)ftruncate(m_file.get(), sizeUnderLock);
        return false;
    }

    // With the lock held: the newer half goes to a new file beside the journal, locked
    // before it takes the journal's name, and the journal's descriptor moves to it.
    bool DropOlderHalf(std::uintmax_t limit) {
        Descriptor reading(openat(m_folder.get(), m_name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        std::string all;
        if (!reading || !ReadAll(reading.get(), &all)) return false;
        const std::string kept = NewerHalf(all, limit);

        std::random_device random;
        const std::string temporary = "." + m_name + "." + std::to_string(random()) + ".tmp";
        Descriptor fresh(openat(m_folder.get(), temporary.c_str(),
                                O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
        if (!fresh) return false;
        if (flock(fresh.get(), LOCK_EX | LOCK_NB) != 0 || !WriteAll(fresh.get(), kept) ||
            renameat(m_folder.get(), temporary.c_str(), m_folder.get(), m_name.c_str()) != 0) {
            unlinkat(m_folder.get(), temporary.c_str(), 0);
            return false;
        }
        flock(m_file.get(), LOCK_UN);
        m_file = std::move(fresh);
        return true;
    }

    Descriptor m_folder;
    std::string m_name;
    Descriptor m_file;
};

}  // namespace

std::unique_ptr<JournalFile> OpenJournalFile(const std::filesystem::path& path, std::string* refusal) {
    const std::filesystem::path folderPath = path.has_parent_path() ? path.parent_path() : ".";
    const std::string name = path.filename().string();
    Descriptor folder(open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder || name.empty() || name == "." || name == "..") {
        *refusal = folder ? "it names no file" : std::strerror(errno);
        return nullptr;
    }
    auto file = std::make_unique<PosixJournalFile>(std::move(folder), name);
    *refusal = file->Open();
    if (!refusal->empty()) return nullptr;
    return file;
}

}  // namespace journal
