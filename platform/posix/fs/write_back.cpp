#include "platform/posix/fs/write_back.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace posixplat {
namespace {

int SyncFileSystem(int fd) { return ::syncfs(fd) == 0 ? 0 : errno; }

}  // namespace

WriteBack::WriteBack(std::int64_t batchBytes, Flusher flush)
    : m_batchBytes(batchBytes), m_flush(flush ? std::move(flush) : Flusher(SyncFileSystem)) {}

WriteBack::~WriteBack() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_pending = Request();
    m_idle.wait(lock, [&] { return !m_running; });
    JoinFinished(lock);
}

void WriteBack::JoinFinished(std::unique_lock<std::mutex>& lock) {
    if (m_running || !m_worker.joinable()) return;
    std::thread finished = std::move(m_worker);
    lock.unlock();
    finished.join();
    lock.lock();
}

void WriteBack::Written(int fd, std::int64_t bytes) {
    m_gathered += bytes;
    if (m_gathered < m_batchBytes) return;
    struct stat info;
    // The flush needs a descriptor of its own, as the file is closed meanwhile; one that
    // cannot be had leaves this batch to the next.
    Request request{UniqueFd(::fcntl(fd, F_DUPFD_CLOEXEC, 0)), 0};
    if (!request.fd.Valid() || ::fstat(request.fd.Get(), &info) != 0) return;
    request.device = info.st_dev;
    m_gathered = 0;

    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_running) {
        // Only the latest is kept: one flush covers everything written before it.
        m_pending = std::move(request);
        return;
    }
    JoinFinished(lock);
    m_running = true;
    m_worker = std::thread(&WriteBack::Run, this, std::move(request));
}

void WriteBack::Run(Request request) {
    for (;;) {
        const int error = m_flush(request.fd.Get());
        const dev_t device = request.device;
        request.fd.Reset();
        std::lock_guard<std::mutex> lock(m_mutex);
        if (error != 0) m_failures.push_back({device, error});
        if (!m_pending.fd.Valid()) {
            m_running = false;
            m_idle.notify_all();
            return;
        }
        request = std::move(m_pending);
    }
}

bool WriteBack::Settle(dev_t device) {
    std::unique_lock<std::mutex> lock(m_mutex);
    // The caller's own flush covers what a pending one would.
    if (m_pending.fd.Valid() && m_pending.device == device) m_pending = Request();
    m_idle.wait(lock, [&] { return !m_running; });
    JoinFinished(lock);
    // Handed on once: every failure of that file system goes, the first is reported.
    int error = 0;
    for (auto failure = m_failures.begin(); failure != m_failures.end();) {
        if (failure->device != device) {
            ++failure;
            continue;
        }
        if (error == 0) error = failure->error;
        failure = m_failures.erase(failure);
    }
    if (error == 0) return true;
    errno = error;
    return false;
}

}  // namespace posixplat
