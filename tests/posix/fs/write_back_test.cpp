// The background flushes of written files: when they start, what they flush, and that a
// failure one of them meets reaches the flush before the install record, which would not
// see it otherwise.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/posix/fs/write_back.h"

namespace {

using posixplat::UniqueFd;
using posixplat::WriteBack;

struct Flushed {
    ino_t inode;
    dev_t device;
};

// Two open files, standing for files just written on one file system.
class WriteBackTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (UniqueFd& file : m_files) {
            file = UniqueFd(::open(::testing::TempDir().c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
            ASSERT_TRUE(file.Valid());
        }
    }
    int File(int i) const { return m_files[i].Get(); }
    ino_t Inode(int i) const { return StatOf(File(i)).st_ino; }
    dev_t Device() const { return StatOf(File(0)).st_dev; }
    static struct stat StatOf(int fd) {
        struct stat info {};
        ::fstat(fd, &info);
        return info;
    }

    // A flusher that notes what it was given and fails with `error` (0: succeeds) after
    // `delay`.
    WriteBack::Flusher Noting(int error, std::chrono::milliseconds delay = std::chrono::milliseconds(0)) {
        return [this, error, delay](int fd) {
            std::this_thread::sleep_for(delay);
            const struct stat info = StatOf(fd);
            std::lock_guard<std::mutex> lock(m_mutex);
            m_flushed.push_back({info.st_ino, info.st_dev});
            return error;
        };
    }
    std::vector<Flushed> FlushedSoFar() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_flushed;
    }

private:
    UniqueFd m_files[2];
    std::mutex m_mutex;
    std::vector<Flushed> m_flushed;
};

TEST_F(WriteBackTest, FlushesTheFileSystemOfTheFileThatCompletesABatch) {
    WriteBack writeBack(100, Noting(0));
    writeBack.Written(File(0), 60);
    ASSERT_TRUE(writeBack.Settle(Device()));
    EXPECT_TRUE(FlushedSoFar().empty()) << "a flush before a batch had gathered";

    writeBack.Written(File(1), 40);
    ASSERT_TRUE(writeBack.Settle(Device()));
    const std::vector<Flushed> flushed = FlushedSoFar();
    ASSERT_EQ(flushed.size(), 1u);
    // Through a descriptor of its own: the file is closed as soon as Written returns.
    EXPECT_EQ(flushed[0].inode, Inode(1));

    writeBack.Written(File(0), 99);
    ASSERT_TRUE(writeBack.Settle(Device()));
    EXPECT_EQ(FlushedSoFar().size(), 1u) << "the next batch starts afresh";
}

TEST_F(WriteBackTest, AFailureIsHandedOnlyToItsOwnFileSystem) {
    WriteBack writeBack(1, Noting(EIO));
    writeBack.Written(File(0), 1);
    EXPECT_TRUE(writeBack.Settle(Device() + 1));
    EXPECT_FALSE(writeBack.Settle(Device()));
}

TEST_F(WriteBackTest, AFailedBackgroundFlushFailsTheNextSettleOfItsFileSystemOnce) {
    struct Case {
        const char* name;
        std::chrono::milliseconds delay;  // the flush is still running when Settle comes
    };
    for (const Case& c : {Case{"finished", std::chrono::milliseconds(0)}, Case{"running", std::chrono::milliseconds(200)}}) {
        SCOPED_TRACE(c.name);
        WriteBack writeBack(1, Noting(EIO, c.delay));
        writeBack.Written(File(0), 1);
        if (c.delay.count() == 0) {
            while (FlushedSoFar().empty()) std::this_thread::yield();
        }
        errno = 0;
        EXPECT_FALSE(writeBack.Settle(Device()));
        EXPECT_EQ(errno, EIO);
        EXPECT_TRUE(writeBack.Settle(Device())) << "a failure is handed on once";
        // Cleared for the next case.
        const std::vector<Flushed> flushed = FlushedSoFar();
        ASSERT_FALSE(flushed.empty());
        EXPECT_EQ(flushed.back().device, Device());
    }
}

TEST_F(WriteBackTest, BatchesGatheredDuringAFlushAreFlushedOnceAfterIt) {
    std::atomic<int> calls{0};
    std::atomic<bool> release{false};
    WriteBack writeBack(10, [&](int) {
        ++calls;
        while (!release) std::this_thread::yield();
        return 0;
    });
    writeBack.Written(File(0), 10);
    while (calls == 0) std::this_thread::yield();
    // Three more batches while the first flush runs: one flush covers them all.
    for (int i = 0; i < 3; ++i) writeBack.Written(File(1), 10);
    release = true;
    ASSERT_TRUE(writeBack.Settle(Device() + 1));
    EXPECT_EQ(calls, 2);
}

}  // namespace
