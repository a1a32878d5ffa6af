#pragma once
// Looking up a name in a host folder without regard to ASCII case.
//
// Every new entry needs such a look-up first (another case of its name may exist), and
// a tree copy creates the files of a folder one after the other, so listing the folder
// for each would cost time in proportion to its size for every file. The cache keeps
// the names of a few folders and trusts a listing only while the folder still has the
// device, inode, size, link count and change times it had when listed, or that it was
// given after a creation through this cache. What it cannot see is another process
// adding a name within the same clock tick as a change of ours (the file system's
// time stamps are that coarse); the worst that can follow is a second entry whose name
// differs from an existing one only in case, as a plain look-up followed by a creation
// could also produce. Not thread-safe.
#include <sys/stat.h>

#include <map>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/posix/walls/posix_handles.h"

namespace posixplat {

// One pass over `folder`: the entry named `name` when there is one, else the entry whose
// name matches it ignoring case (the first in byte order when several do); empty when
// none does or the folder cannot be listed.
std::string ScanFolderIgnoringCase(const std::string& folder, const std::string& name);

class FolderNameCache {
public:
    // As ScanFolderIgnoringCase, from the cache while its listing of `folder` holds.
    // `current` is the folder's lstat taken by the caller just before, or null.
    std::string FindIgnoringCase(const std::string& folder, const std::string& name, const struct stat* current);
    // As FindIgnoringCase into `match` (empty for none), answered only from a listing of
    // `folder` that still holds for the folder it was taken of, told by that folder's own
    // stamps (no look-up of its path); false when there is no such listing. A copy fills
    // one folder after another, so most look-ups are answered here. Trusting the open
    // folder over its path misses only a folder put in its place by another process
    // meanwhile, with the consequence described above.
    bool FindInHeldListing(std::string_view folder, std::string_view name, std::string* match) const;
    // This process has just created `name` in `folder`, right after looking the name up
    // there with FindIgnoringCase.
    void NoteCreated(std::string_view folder, std::string_view name);
    // This process has just removed something from `folder`, or `folder` itself.
    void Forget(std::string_view folder);

private:
    struct Stamp {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        nlink_t links = 0;
        timespec modified{};
        timespec changed{};
        bool operator==(const Stamp& other) const;
    };
    // Looked up by a view of a path or name, without making a string of it.
    struct ViewHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
    };
    template <typename Value>
    using ByName = std::unordered_map<std::string, Value, ViewHash, std::equal_to<>>;

    struct Listing {
        Stamp stamp;
        UniqueDir dir;  // kept open: the folder's stamps after a creation come from it
        // ASCII-lower-cased -> the real names, in byte order (most often exactly one)
        ByName<std::vector<std::string>> byFoldedName;
    };
    static Stamp StampOf(const struct stat& info);
    static void Add(Listing& listing, std::string_view name);
    // The entry of `name` in `listing`, as FindIgnoringCase answers.
    static std::string Match(const Listing& listing, std::string_view name);

    static constexpr std::size_t kMaxFolders = 32;  // also the most folders held open
    ByName<Listing> m_listings;
};

}  // namespace posixplat
