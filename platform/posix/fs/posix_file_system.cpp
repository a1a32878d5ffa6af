#include "platform/posix/fs/posix_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string_view>

#include "platform/posix/walls/beneath.h"
#include "platform/posix/fs/file_status.h"
#include "platform/posix/fs/folder_enumeration.h"
#include "platform/posix/drives/optical_mounts.h"
#include "platform/posix/fs/posix_file.h"
#include "platform/posix/drives/windows_path.h"

namespace posixplat {
namespace {

// The drive of "C:" or "C:\" (either letter case); null for anything else.
const DriveMapping* DriveOfRoot(const std::vector<DriveMapping>& drives, const std::string& root) {
    if (root.size() < 2 || root.size() > 3 || root[1] != ':') return nullptr;
    if (root.size() == 3 && root[2] != '\\' && root[2] != '/') return nullptr;
    return FindDrive(drives, root[0]);
}

// A Windows path on a mapped drive, not yet looked up on the disk, with the drive's host
// folder open: every operation resolves its host path beneath that folder.
struct Located {
    const std::string* hostFolder = nullptr;  // the drive's, in the drive table
    std::vector<std::string> components;
    std::string literal;
    int base = -1;  // borrowed from the file system's open base folders
    LinkReach reach = LinkReach::kBeneathBase;

    UniqueFd Open(const std::string& relative, int flags, mode_t mode = 0) const {
        return OpenBelow(reach, base, relative, flags, mode);
    }

    // `hostPath` (the literal path or the case-insensitive walk's result, both below
    // `hostFolder`) relative to the drive.
    BeneathPath Below(const std::string& hostPath) const {
        BeneathPath path;
        SplitBeneath(*hostFolder, hostPath, &path);
        return path;
    }
};

// False for a malformed path, an unmapped letter and, with `entryOnly`, a drive root
// (which no operation may create, remove or open).
// The refusals set errno as a failed system call would: the caller's journal reads it.
bool Locate(const std::vector<DriveMapping>& drives, OpenBaseFolders& bases, LinkReach reach,
            const std::string& windowsPath, bool entryOnly, Located* target) {
    WindowsPath parsed;
    if (!ParseWindowsPath(windowsPath, &parsed) || (entryOnly && parsed.components.empty())) {
        errno = EINVAL;
        return false;
    }
    const DriveMapping* drive = FindDrive(drives, parsed.letter);
    if (!drive || drive->image) {
        errno = ENOENT;
        return false;
    }
    target->hostFolder = &drive->hostFolder;
    target->components = std::move(parsed.components);
    target->literal = LiteralHostPath(drive->hostFolder, target->components);
    target->base = bases.Get(drive->letter, drive->hostFolder);
    target->reach = reach;
    return target->base >= 0;
}

// Runs `op` (which reports failure through errno) on an existing entry: on the path with
// the names as given, and only when that names nothing on the case-insensitive walk's
// result. Most paths are spelt as on the disk, so most calls walk no folder.
template <typename Op>
auto OnExistingEntry(const Located& target, FolderNameCache& cache, Op op)
    -> decltype(op(std::string(), BeneathPath())) {
    auto result = op(target.literal, target.Below(target.literal));
    if (result || (errno != ENOENT && errno != ENOTDIR)) return result;
    const std::string resolved = ResolveCaseInsensitive(*target.hostFolder, target.components, &cache, &target.literal);
    if (resolved == target.literal) return result;
    return op(resolved, target.Below(resolved));
}

// New entries need the walk: another case of the name may exist already.
std::string ForNewEntry(const Located& target, FolderNameCache& cache) {
    return ResolveCaseInsensitive(*target.hostFolder, target.components, &cache, &target.literal);
}

std::string_view ParentOf(std::string_view hostPath) {
    const std::string_view::size_type slash = hostPath.rfind('/');
    return slash == 0 ? std::string_view("/") : hostPath.substr(0, slash);
}

std::string_view NameOf(std::string_view hostPath) { return hostPath.substr(hostPath.rfind('/') + 1); }

UniqueFd OpenParent(const Located& target, const BeneathPath& path) {
    return target.Open(path.parent, O_PATH | O_DIRECTORY);
}

bool RemoveHostFile(int parentFd, const std::string& name) {
    struct stat info;
    if (::fstatat(parentFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) return false;
    if (S_ISDIR(info.st_mode)) {
        errno = EISDIR;
        return false;
    }
    // Root may unlink anything; the read-only attribute must hold regardless.
    if (!S_ISLNK(info.st_mode) && IsReadOnlyMode(info.st_mode)) {
        errno = EACCES;
        return false;
    }
    return ::unlinkat(parentFd, name.c_str(), 0) == 0;
}

}  // namespace

PosixFileSystem::PosixFileSystem(const std::string& root) : PosixFileSystem(root, kProcessMountTable) {}

PosixFileSystem::PosixFileSystem(const std::string& root, const std::string& mountTable,
                                 const std::vector<std::string>& discImages)
    : m_root(root), m_drives(LoadDriveTable(root, &m_problems)) {
    AddImageDrives(m_drives, discImages, &m_problems);
    AddOpticalDrives(m_drives, ReadOpticalMounts(mountTable));
}

PosixFileSystem::PosixFileSystem(std::vector<DriveMapping> drives, LinkReach reach)
    : m_drives(std::move(drives)), m_reach(reach) {}

const std::vector<DriveMapping>& PosixFileSystem::Drives() const { return m_drives; }

const std::vector<std::string>& PosixFileSystem::Problems() const { return m_problems; }

bool PosixFileSystem::ToHostPath(const std::string& windowsPath, std::string* hostPath) const {
    return TranslateWindowsPath(m_drives, windowsPath, hostPath, &m_folderNames);
}

std::string PosixFileSystem::LogicalDriveStrings() {
    std::vector<char> letters;
    for (const DriveMapping& drive : m_drives) letters.push_back(drive.letter);
    std::sort(letters.begin(), letters.end());
    std::string strings;
    for (char letter : letters) {
        strings.push_back(letter);
        strings.append(":\\");
        strings.push_back('\0');
    }
    return strings;
}

plat::DriveType PosixFileSystem::GetDriveType(const std::string& root) {
    const DriveMapping* drive = DriveOfRoot(m_drives, root);
    return drive ? drive->type : plat::DriveType::NoRootDir;
}

bool PosixFileSystem::GetFreeBytes(const std::string& path, std::uint64_t* freeBytes) {
    struct statvfs info;
    if (const DriveMapping* drive = DriveOfRoot(m_drives, path)) {
        if (::statvfs(drive->hostFolder.c_str(), &info) != 0) return false;
    } else {
        Located target;
        if (!Locate(m_drives, m_bases, m_reach, path, false, &target)) return false;
        const bool found = OnExistingEntry(target, m_folderNames, [&](const std::string&, const BeneathPath& at) {
            UniqueFd entry = target.Open(at.relative, O_PATH);
            return entry.Valid() && ::fstatvfs(entry.Get(), &info) == 0;
        });
        if (!found) return false;
    }
    *freeBytes = static_cast<std::uint64_t>(info.f_bavail) * static_cast<std::uint64_t>(info.f_frsize);
    return true;
}

bool PosixFileSystem::Exists(const std::string& path) {
    Located target;
    if (!Locate(m_drives, m_bases, m_reach, path, false, &target)) return false;
    return OnExistingEntry(target, m_folderNames, [&](const std::string&, const BeneathPath& at) {
        return target.Open(at.relative, O_PATH).Valid();
    });
}

bool PosixFileSystem::GetStatus(const std::string& path, plat::FileStatus* status) {
    Located target;
    if (!Locate(m_drives, m_bases, m_reach, path, false, &target)) return false;
    return OnExistingEntry(target, m_folderNames, [&](const std::string&, const BeneathPath& at) {
        UniqueFd entry = target.Open(at.relative, O_PATH);
        return entry.Valid() && StatusOfDescriptor(entry.Get(), status);
    });
}

bool PosixFileSystem::CreateFolder(const std::string& path) {
    Located target;
    if (!Locate(m_drives, m_bases, m_reach, path, true, &target)) return false;
    const std::string host = ForNewEntry(target, m_folderNames);
    const BeneathPath at = target.Below(host);
    UniqueFd parent = OpenParent(target, at);
    if (!parent.Valid() || ::mkdirat(parent.Get(), at.name.c_str(), 0755) != 0) return false;
    m_folderNames.NoteCreated(ParentOf(host), NameOf(host));
    return true;
}

bool PosixFileSystem::RemoveFolder(const std::string& path) {
    m_lastWritten->Forget();
    Located target;
    if (!Locate(m_drives, m_bases, m_reach, path, true, &target)) return false;
    return OnExistingEntry(target, m_folderNames, [&](const std::string& host, const BeneathPath& at) {
        UniqueFd parent = OpenParent(target, at);
        if (!parent.Valid() || ::unlinkat(parent.Get(), at.name.c_str(), AT_REMOVEDIR) != 0) return false;
        m_folderNames.Forget(host);
        m_folderNames.Forget(ParentOf(host));
        return true;
    });
}

bool PosixFileSystem::RemoveFile(const std::string& path) {
    m_lastWritten->Forget();
    Located target;
    if (!Locate(m_drives, m_bases, m_reach, path, true, &target)) return false;
    const bool removed = OnExistingEntry(target, m_folderNames, [&](const std::string& host, const BeneathPath& at) {
        UniqueFd parent = OpenParent(target, at);
        if (!parent.Valid() || !RemoveHostFile(parent.Get(), at.name)) return false;
        m_folderNames.Forget(ParentOf(host));
        return true;
    });
    if (removed && m_onRemoved) m_onRemoved(path);
    return removed;
}

std::unique_ptr<plat::File> PosixFileSystem::OpenForRead(const std::string& path) {
    Located target;
    if (!Locate(m_drives, m_bases, m_reach, path, true, &target)) return nullptr;
    return OnExistingEntry(target, m_folderNames, [&](const std::string&, const BeneathPath& at) {
        const HostOpener open = [&](int flags, mode_t mode) {
            return target.Open(at.relative, flags, mode);
        };
        return OpenHostFileForRead(open, m_openReads);
    });
}

std::unique_ptr<plat::File> PosixFileSystem::OpenForWrite(const std::string& path) {
    m_lastWritten->Forget();
    Located target;
    if (!Locate(m_drives, m_bases, m_reach, path, true, &target)) return nullptr;
    const std::string host = ForNewEntry(target, m_folderNames);
    const BeneathPath at = target.Below(host);
    const HostOpener open = [&](int flags, mode_t mode) {
        return target.Open(at.relative, flags, mode);
    };
    bool created = false;
    std::unique_ptr<PosixFile> file = OpenHostFileForWrite(open, m_openReads, &created);
    if (created) m_folderNames.NoteCreated(ParentOf(host), NameOf(host));
    if (file) {
        file->HandOverOnClose(m_lastWritten, path);
        file->WriteBackThrough(m_writeBack);
    }
    return file;
}

bool PosixFileSystem::SetStatus(const std::string& path, const plat::FileStatus& status) {
    const auto apply = [&](const UniqueFd& entry) {
        struct stat info;
        if (!entry.Valid() || ::fstat(entry.Get(), &info) != 0) return false;
        if (!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)) {
            errno = EINVAL;
            return false;
        }
        // Removed since it was opened: it has no name to set anything on.
        if (info.st_nlink == 0) {
            errno = ENOENT;
            return false;
        }
        return ApplyStatusToDescriptor(entry.Get(), info.st_mode, status);
    };
    // The file just written, unless it was removed since: then its name is looked up.
    if (UniqueFd written = m_lastWritten->Take(path); written.Valid()) {
        if (apply(written)) return true;
        if (errno != ENOENT) return false;
    }
    Located target;
    if (!Locate(m_drives, m_bases, m_reach, path, true, &target)) return false;
    return OnExistingEntry(target, m_folderNames, [&](const std::string&, const BeneathPath& at) {
        // Opened for reading only to reach the file itself (times and mode need a real
        // descriptor); never a device or a pipe.
        return apply(target.Open(at.relative, O_RDONLY | O_NONBLOCK | O_NOCTTY));
    });
}

std::unique_ptr<plat::FolderEnumeration> PosixFileSystem::Enumerate(const std::string& pattern) {
    std::string folder;
    Located target;
    if (!FolderOfPattern(pattern, &folder)) {
        errno = EINVAL;
        return nullptr;
    }
    if (!Locate(m_drives, m_bases, m_reach, folder, false, &target)) return nullptr;
    return OnExistingEntry(target, m_folderNames, [&](const std::string&, const BeneathPath& at) {
        return EnumerateHostFolder(m_reach, OpenBaseFolder(*target.hostFolder), at.relative);
    });
}

OpenReads::Share PosixFileSystem::KeepFromWriters(dev_t device, ino_t inode) { return m_openReads.Add(device, inode); }

void PosixFileSystem::SetRemovalObserver(std::function<void(const std::string& path)> observer) {
    m_onRemoved = std::move(observer);
}

bool PosixFileSystem::OpenFolderOf(const std::string& path, UniqueFd* folder, std::string* name) {
    m_lastWritten->Forget();
    Located target;
    if (!Locate(m_drives, m_bases, m_reach, path, true, &target)) return false;
    const BeneathPath at = target.Below(ForNewEntry(target, m_folderNames));
    UniqueFd parent = OpenParent(target, at);
    if (!parent.Valid()) return false;
    *folder = std::move(parent);
    *name = at.name;
    return true;
}

bool PosixFileSystem::FlushDrive(const std::string& path) {
    Located target;
    if (!Locate(m_drives, m_bases, m_reach, path, false, &target)) return false;
    return OnExistingEntry(target, m_folderNames, [&](const std::string&, const BeneathPath& at) {
        UniqueFd entry = target.Open(at.relative, O_RDONLY | O_NONBLOCK);
        struct stat info;
        if (!entry.Valid() || ::fstat(entry.Get(), &info) != 0) return false;
        // Both are asked: the drive's own flush may succeed where a background one
        // already met, and so consumed, the error.
        const bool settled = m_writeBack->Settle(info.st_dev);
        const int settleError = errno;
        if (::syncfs(entry.Get()) != 0) return false;
        errno = settleError;
        return settled;
    });
}

}  // namespace posixplat
