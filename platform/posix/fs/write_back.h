#pragma once
// The write-back of what a run writes, started in the background while it goes on.
//
// Each data set must be on the disk before the install record names it, and one syncfs
// at that point is the cheapest way there. Left alone, though, the kernel holds gigabytes
// back and that one call waits for all of them at once. Starting each file's write-back
// as it closes sends every small file to the disk as a request of its own, which costs
// more than the copy. So, every batch of bytes written, a syncfs of the written files'
// file system runs on a thread of its own, and the disk receives large merged writes
// while the copy continues.
//
// A syncfs that meets a write-back error reports it once, to its caller: after that the
// flush before the record would no longer see it. So what a background flush meets is
// kept here, and Settle hands it on.
#include <sys/types.h>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "platform/posix/walls/posix_handles.h"

namespace posixplat {

class WriteBack {
public:
    // Flushes the file system of a descriptor; 0, or the errno of its failure.
    using Flusher = std::function<int(int fd)>;

    static constexpr std::int64_t kBatchBytes = std::int64_t{32} << 20;

    explicit WriteBack(std::int64_t batchBytes = kBatchBytes, Flusher flush = {});
    // Waits for a flush in progress: it holds a descriptor of the caller's.
    ~WriteBack();
    WriteBack(const WriteBack&) = delete;
    WriteBack& operator=(const WriteBack&) = delete;

    // `fd`, a file just written and not yet closed, holds `bytes` more of this run's
    // writes; once a batch has gathered, its file system is flushed in the background.
    void Written(int fd, std::int64_t bytes);

    // Called before flushing the file system `device` itself: waits for the background
    // flush in progress. False, with errno set, when a background flush of that file
    // system failed since the last call (the failure is handed on once).
    bool Settle(dev_t device);

private:
    struct Failure {
        dev_t device;
        int error;
    };
    struct Request {
        UniqueFd fd;
        dev_t device = 0;
    };

    void Run(Request request);
    void JoinFinished(std::unique_lock<std::mutex>& lock);

    const std::int64_t m_batchBytes;
    const Flusher m_flush;
    std::int64_t m_gathered = 0;  // of the caller's thread only

    std::mutex m_mutex;
    std::condition_variable m_idle;
    // The worker runs only while there is something to flush, so that no thread of ours
    // is about when the program forks (a disc image is first read in a child).
    std::thread m_worker;
    bool m_running = false;
    Request m_pending;  // the next file system to flush, taken when the one in progress ends
    std::vector<Failure> m_failures;
};

}  // namespace posixplat
