#include "platform/posix/folder_enumeration.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>

namespace posixplat {
namespace {

enum class EntryKind { Skip, File, Folder };

EntryKind KindOf(int dirFd, const dirent& entry) {
    switch (entry.d_type) {
        case DT_DIR:
            return EntryKind::Folder;
        case DT_REG:
            return EntryKind::File;
        case DT_LNK: {
            struct stat target;
            if (::fstatat(dirFd, entry.d_name, &target, 0) == 0 && S_ISDIR(target.st_mode)) return EntryKind::Skip;
            return EntryKind::File;
        }
        case DT_UNKNOWN: {
            // Some file systems do not fill in the type; ask for it.
            struct stat info;
            if (::fstatat(dirFd, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) return EntryKind::File;
            if (S_ISDIR(info.st_mode)) return EntryKind::Folder;
            if (S_ISLNK(info.st_mode)) {
                struct stat target;
                if (::fstatat(dirFd, entry.d_name, &target, 0) == 0 && S_ISDIR(target.st_mode)) {
                    return EntryKind::Skip;
                }
            }
            return EntryKind::File;
        }
        default:
            return EntryKind::File;
    }
}

}  // namespace

PosixFolderEnumeration::PosixFolderEnumeration(UniqueDir dir) : m_dir(std::move(dir)) {}

bool PosixFolderEnumeration::Next(plat::FolderEntry* entry) {
    const int dirFd = ::dirfd(m_dir.Get());
    while (const dirent* raw = ::readdir(m_dir.Get())) {
        if (std::strcmp(raw->d_name, ".") == 0 || std::strcmp(raw->d_name, "..") == 0) continue;
        const EntryKind kind = KindOf(dirFd, *raw);
        if (kind == EntryKind::Skip) continue;
        entry->name = raw->d_name;
        entry->isFolder = kind == EntryKind::Folder;
        return true;
    }
    return false;
}

std::unique_ptr<plat::FolderEnumeration> EnumerateHostFolder(const std::string& hostFolder) {
    UniqueDir dir(::opendir(hostFolder.c_str()));
    if (!dir.Valid()) return nullptr;
    return std::make_unique<PosixFolderEnumeration>(std::move(dir));
}

}  // namespace posixplat
