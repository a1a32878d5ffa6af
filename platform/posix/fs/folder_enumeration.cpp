#include "platform/posix/fs/folder_enumeration.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>

#include "platform/posix/walls/beneath.h"

namespace posixplat {
namespace {

enum class EntryKind { Skip, File, Folder };

std::string Below(const std::string& folder, const char* name) {
    return folder == "." ? std::string(name) : folder + "/" + name;
}

// A link counts by what it leads to on the drive: a file is a file, a folder and a target
// off the drive are passed over, and one that leads nowhere is a file that cannot be opened.
EntryKind KindOfLink(LinkReach reach, int baseFd, const std::string& relativeFolder, const char* name) {
    bool escaped = false;
    UniqueFd target = OpenBelow(reach, baseFd, Below(relativeFolder, name), O_PATH, 0, &escaped);
    if (!target.Valid()) return escaped ? EntryKind::Skip : EntryKind::File;
    struct stat info;
    if (::fstat(target.Get(), &info) != 0 || S_ISDIR(info.st_mode)) return EntryKind::Skip;
    return EntryKind::File;
}

EntryKind KindOf(int dirFd, LinkReach reach, int baseFd, const std::string& relativeFolder, const dirent& entry) {
    switch (entry.d_type) {
        case DT_DIR:
            return EntryKind::Folder;
        case DT_REG:
            return EntryKind::File;
        case DT_LNK:
            return KindOfLink(reach, baseFd, relativeFolder, entry.d_name);
        case DT_UNKNOWN: {
            // Some file systems do not fill in the type; ask for it.
            struct stat info;
            if (::fstatat(dirFd, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) return EntryKind::File;
            if (S_ISDIR(info.st_mode)) return EntryKind::Folder;
            if (S_ISLNK(info.st_mode)) return KindOfLink(reach, baseFd, relativeFolder, entry.d_name);
            return EntryKind::File;
        }
        default:
            return EntryKind::File;
    }
}

}  // namespace

PosixFolderEnumeration::PosixFolderEnumeration(UniqueDir dir, LinkReach reach, UniqueFd base,
                                               std::string relativeFolder)
    : m_dir(std::move(dir)), m_reach(reach), m_base(std::move(base)), m_relativeFolder(std::move(relativeFolder)) {}

bool PosixFolderEnumeration::Next(plat::FolderEntry* entry) {
    const int dirFd = ::dirfd(m_dir.Get());
    while (const dirent* raw = ::readdir(m_dir.Get())) {
        if (std::strcmp(raw->d_name, ".") == 0 || std::strcmp(raw->d_name, "..") == 0) continue;
        const EntryKind kind = KindOf(dirFd, m_reach, m_base.Get(), m_relativeFolder, *raw);
        if (kind == EntryKind::Skip) continue;
        entry->name = raw->d_name;
        entry->isFolder = kind == EntryKind::Folder;
        return true;
    }
    return false;
}

std::unique_ptr<plat::FolderEnumeration> EnumerateHostFolder(LinkReach reach, UniqueFd base,
                                                             const std::string& relativeFolder) {
    UniqueFd folder = OpenBelow(reach, base.Get(), relativeFolder, O_RDONLY | O_DIRECTORY);
    if (!folder.Valid()) return nullptr;
    UniqueDir dir(::fdopendir(folder.Get()));
    if (!dir.Valid()) return nullptr;
    // The listing owns the descriptor now.
    (void)folder.Release();
    return std::make_unique<PosixFolderEnumeration>(std::move(dir), reach, std::move(base), relativeFolder);
}

}  // namespace posixplat
