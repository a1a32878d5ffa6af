#include "platform/posix/drives/folder_name_cache.h"

#include <dirent.h>

#include <algorithm>
#include <cstring>

#include "platform/ascii.h"


namespace posixplat {
namespace {

bool IsDotEntry(const char* name) { return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0; }

}  // namespace

std::string ScanFolderIgnoringCase(const std::string& folder, const std::string& name) {
    UniqueDir dir(::opendir(folder.c_str()));
    if (!dir.Valid()) return {};
    const std::string wanted = ascii::LowerCased(name);
    std::string best;
    while (const dirent* entry = ::readdir(dir.Get())) {
        if (IsDotEntry(entry->d_name)) continue;
        const std::string candidate = entry->d_name;
        if (candidate == name) return candidate;
        if (ascii::LowerCased(candidate) == wanted && (best.empty() || candidate < best)) best = candidate;
    }
    return best;
}

bool FolderNameCache::Stamp::operator==(const Stamp& other) const {
    return device == other.device && inode == other.inode && size == other.size && links == other.links &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec &&
           changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
}

FolderNameCache::Stamp FolderNameCache::StampOf(const struct stat& info) {
    Stamp stamp;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = info.st_size;
    stamp.links = info.st_nlink;
    stamp.modified = info.st_mtim;
    stamp.changed = info.st_ctim;
    return stamp;
}

void FolderNameCache::Add(Listing& listing, std::string_view name) {
    std::vector<std::string>& names = listing.byFoldedName[ascii::LowerCased(name)];
    const auto at = std::lower_bound(names.begin(), names.end(), name);
    if (at == names.end() || *at != name) names.emplace(at, name);
}

std::string FolderNameCache::Match(const Listing& listing, std::string_view name) {
    const auto match = listing.byFoldedName.find(ascii::LowerCased(name));
    if (match == listing.byFoldedName.end()) return {};
    const std::vector<std::string>& names = match->second;
    return std::string(std::binary_search(names.begin(), names.end(), name) ? name : names.front());
}

std::string FolderNameCache::FindIgnoringCase(const std::string& folder, const std::string& name,
                                              const struct stat* current) {
    struct stat info;
    if (!current || !S_ISDIR(current->st_mode)) {
        if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return {};
        current = &info;
    }
    auto known = m_listings.find(folder);
    if (known == m_listings.end() || !(known->second.stamp == StampOf(*current))) {
        UniqueDir dir(::opendir(folder.c_str()));
        if (!dir.Valid()) return {};
        // The stamp is taken before the names are read: a change while reading shows
        // as a different stamp next time.
        struct stat listed;
        if (::fstat(::dirfd(dir.Get()), &listed) != 0) return {};
        Listing listing;
        listing.stamp = StampOf(listed);
        while (const dirent* entry = ::readdir(dir.Get())) {
            if (!IsDotEntry(entry->d_name)) Add(listing, entry->d_name);
        }
        listing.dir = std::move(dir);
        if (known == m_listings.end() && m_listings.size() >= kMaxFolders) m_listings.clear();
        known = m_listings.insert_or_assign(folder, std::move(listing)).first;
    }
    return Match(known->second, name);
}

bool FolderNameCache::FindInHeldListing(std::string_view folder, std::string_view name, std::string* match) const {
    const auto known = m_listings.find(folder);
    if (known == m_listings.end()) return false;
    // A folder removed since it was listed has no links left, whatever its stamps say.
    struct stat current;
    if (::fstat(::dirfd(known->second.dir.Get()), &current) != 0 || current.st_nlink == 0 ||
        !(known->second.stamp == StampOf(current))) {
        return false;
    }
    *match = Match(known->second, name);
    return true;
}

void FolderNameCache::NoteCreated(std::string_view folder, std::string_view name) {
    const auto known = m_listings.find(folder);
    if (known == m_listings.end()) return;
    // The folder was looked up by path just before the creation, so the open folder is
    // still the one at that path.
    struct stat info;
    if (::fstat(::dirfd(known->second.dir.Get()), &info) != 0) {
        m_listings.erase(known);
        return;
    }
    Add(known->second, name);
    known->second.stamp = StampOf(info);
}

void FolderNameCache::Forget(std::string_view folder) {
    const auto known = m_listings.find(folder);
    if (known != m_listings.end()) m_listings.erase(known);
}

}  // namespace posixplat
