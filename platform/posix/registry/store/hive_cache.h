#pragma once
// The last hive parsed from one file, kept while the file is provably the one it was
// parsed from, so that a caller walking a key's 100,000 sub-keys one index at a time
// parses the file once and not 100,000 times.
//
// A file is the same when its device, inode, size and modification and change times (to
// the nanosecond) are. That alone misses a file rewritten in place, at its old size,
// within one tick of the clock the file system stamps times with; so a file whose times
// are not yet older than that tick (plus a margin) when it is read is kept only on
// probation: until it settles, each look reads its bytes again and keeps the tree only if
// they are the bytes it was parsed from. A change by any process is therefore always
// seen, at the price of a read (not a parse) for a few milliseconds after each change.
//
// Not safe for concurrent use; the registry serialises its calls.
#include <sys/stat.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/posix/registry/store/hive_format.h"
#include "platform/posix/registry/store/hive_tree.h"
#include "platform/registry.h"

namespace posixplat::reg {

class HiveCache {
public:
    // `format` (kept by the caller for as long as this object lives) reads the file.
    HiveCache(std::string filePath, std::string hiveName, HiveFormat* format);
    ~HiveCache();
    HiveCache(HiveCache&&) noexcept;
    HiveCache& operator=(HiveCache&&) noexcept;

    // The hive as its file holds it now: on success `*root` is the kept tree, or null
    // when there is no file. kErrorBadDb when the file does not parse or is not a
    // regular file, kErrorAccessDenied or kErrorRegistryIoFailed when it cannot be read;
    // `problem`, when given, then says what is wrong, starting with the file's path.
    plat::RegResult Current(HiveKey** root, std::string* problem = nullptr);

    // This process has just replaced the file with `text`, the serialisation of `root`
    // (null: of the kept tree, changed in place).
    void Wrote(std::unique_ptr<HiveKey> root, std::string_view text);

    // Drops the kept tree: it may no longer be what the file holds.
    void Forget();

    // The size of the file the kept tree was last read from or written as.
    std::size_t KnownSize() const { return static_cast<std::size_t>(m_identity.size); }

private:
    struct Identity {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        timespec modified{};
        timespec changed{};
    };
    static Identity IdentityOf(const struct stat& status);
    static bool Same(const Identity& a, const Identity& b);
    static bool SettledBefore(const Identity& identity, const timespec& moment);

    std::string m_filePath;
    std::string m_hiveName;
    HiveFormat* m_format;
    std::unique_ptr<HiveKey> m_root;
    Identity m_identity;
    std::size_t m_digest = 0;  // of the bytes m_root was parsed from or written as
    bool m_settled = false;    // m_identity alone proves the file unchanged
};

}  // namespace posixplat::reg
