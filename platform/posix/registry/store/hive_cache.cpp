#include "platform/posix/registry/store/hive_cache.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <functional>

#include "platform/posix/walls/posix_handles.h"
#include "platform/posix/registry/store/registry_errno.h"

namespace posixplat::reg {
namespace {

// File systems stamp times from a clock that advances a tick (1-10 ms) at a time; the
// margin covers the tick with room to spare. Times without nanoseconds come from a file
// system that keeps seconds (or two of them), and get a margin to match.
constexpr std::int64_t kFineMarginNs = 20'000'000;
constexpr std::int64_t kCoarseMarginNs = 2'000'000'000;

std::int64_t Nanoseconds(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

std::size_t Digest(std::string_view bytes) { return std::hash<std::string_view>()(bytes); }

bool ReadWhole(int fd, std::size_t sizeHint, std::string* text) {
    text->clear();
    text->resize(sizeHint + 1);  // one byte more shows the end without a second call
    std::size_t done = 0;
    for (;;) {
        if (done == text->size()) text->resize(text->size() * 2);
        const ssize_t got = ::read(fd, text->data() + done, text->size() - done);
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    text->resize(done);
    return true;
}

}  // namespace

HiveCache::HiveCache(std::string filePath, std::string hiveName, HiveFormat* format)
    : m_filePath(std::move(filePath)), m_hiveName(std::move(hiveName)), m_format(format) {}

HiveCache::~HiveCache() = default;
HiveCache::HiveCache(HiveCache&&) noexcept = default;
HiveCache& HiveCache::operator=(HiveCache&&) noexcept = default;

HiveCache::Identity HiveCache::IdentityOf(const struct stat& status) {
    return Identity{status.st_dev, status.st_ino, status.st_size, status.st_mtim, status.st_ctim};
}

bool HiveCache::Same(const Identity& a, const Identity& b) {
    return a.device == b.device && a.inode == b.inode && a.size == b.size &&
           Nanoseconds(a.modified) == Nanoseconds(b.modified) && Nanoseconds(a.changed) == Nanoseconds(b.changed);
}

bool HiveCache::SettledBefore(const Identity& identity, const timespec& moment) {
    const bool coarse = identity.modified.tv_nsec == 0 && identity.changed.tv_nsec == 0;
    const std::int64_t latest = std::max(Nanoseconds(identity.modified), Nanoseconds(identity.changed));
    return latest + (coarse ? kCoarseMarginNs : kFineMarginNs) < Nanoseconds(moment);
}

plat::RegResult HiveCache::Current(HiveKey** root, std::string* problem) {
    *root = nullptr;
    auto fail = [&](plat::RegResult result, const std::string& why) {
        Forget();
        if (problem) *problem = m_filePath + ": " + why;
        return result;
    };

    struct stat status {};
    if (::stat(m_filePath.c_str(), &status) != 0) {
        if (errno != ENOENT) return fail(RegResultFromErrno(errno), std::strerror(errno));
        Forget();
        m_format->Absent();
        return plat::kErrorSuccess;
    }
    if (m_root && m_settled && Same(m_identity, IdentityOf(status))) {
        *root = m_root.get();
        return plat::kErrorSuccess;
    }

    // Taken before the file is looked at: a later change is stamped no earlier than a
    // tick before this.
    timespec readAt{};
    ::clock_gettime(CLOCK_REALTIME, &readAt);
    UniqueFd fd(::open(m_filePath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.Valid()) {
        if (errno != ENOENT) return fail(RegResultFromErrno(errno), std::strerror(errno));
        Forget();
        m_format->Absent();
        return plat::kErrorSuccess;
    }
    if (::fstat(fd.Get(), &status) != 0) return fail(RegResultFromErrno(errno), std::strerror(errno));
    if (!S_ISREG(status.st_mode)) return fail(plat::kErrorBadDb, "not a regular file");
    std::string text;
    if (!ReadWhole(fd.Get(), static_cast<std::size_t>(status.st_size), &text)) {
        return fail(RegResultFromErrno(errno), std::strerror(errno));
    }
    fd.Reset();

    const Identity identity = IdentityOf(status);
    const std::size_t digest = Digest(text);
    if (!m_root || digest != m_digest) {
        m_root.reset();  // before parsing, so that two trees are never held at once
        auto parsed = std::make_unique<HiveKey>(m_hiveName);
        std::string error;
        if (!m_format->Parse(text, parsed.get(), &error)) return fail(plat::kErrorBadDb, error);
        m_root = std::move(parsed);
        m_digest = digest;
    }
    m_identity = identity;
    m_settled = SettledBefore(identity, readAt);
    *root = m_root.get();
    return plat::kErrorSuccess;
}

void HiveCache::Wrote(std::unique_ptr<HiveKey> root, std::string_view text) {
    if (root) m_root = std::move(root);
    m_digest = Digest(text);
    m_identity.size = static_cast<off_t>(text.size());
    // Its times are those of this moment: on probation, like any file just changed.
    m_settled = false;
}

void HiveCache::Forget() {
    m_root.reset();
    m_settled = false;
}

}  // namespace posixplat::reg
