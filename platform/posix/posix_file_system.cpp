#include "platform/posix/posix_file_system.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/posix/file_status.h"
#include "platform/posix/folder_enumeration.h"
#include "platform/posix/optical_mounts.h"
#include "platform/posix/posix_file.h"
#include "platform/posix/windows_path.h"

namespace posixplat {
namespace {

constexpr const char* kProcessMountTable = "/proc/self/mounts";

// The drive of "C:" or "C:\" (either letter case); null for anything else.
const DriveMapping* DriveOfRoot(const std::vector<DriveMapping>& drives, const std::string& root) {
    if (root.size() < 2 || root.size() > 3 || root[1] != ':') return nullptr;
    if (root.size() == 3 && root[2] != '\\' && root[2] != '/') return nullptr;
    return FindDrive(drives, root[0]);
}

// A Windows path on a mapped drive, not yet looked up on the disk.
struct Located {
    std::string hostFolder;
    std::vector<std::string> components;
    std::string literal;
};

// False for a malformed path, an unmapped letter and, with `entryOnly`, a drive root
// (which no operation may create, remove or open).
bool Locate(const std::vector<DriveMapping>& drives, const std::string& windowsPath, bool entryOnly,
            Located* target) {
    WindowsPath parsed;
    if (!ParseWindowsPath(windowsPath, &parsed)) return false;
    if (entryOnly && parsed.components.empty()) return false;
    const DriveMapping* drive = FindDrive(drives, parsed.letter);
    if (!drive) return false;
    target->hostFolder = drive->hostFolder;
    target->components = std::move(parsed.components);
    target->literal = LiteralHostPath(target->hostFolder, target->components);
    return true;
}

// Runs `op` (which reports failure through errno) on an existing entry: on the path with
// the names as given, and only when that names nothing on the case-insensitive walk's
// result. Most paths are spelt as on the disk, so most calls walk no folder.
template <typename Op>
auto OnExistingEntry(const Located& target, FolderNameCache& cache, Op op) -> decltype(op(std::string())) {
    auto result = op(target.literal);
    if (result || (errno != ENOENT && errno != ENOTDIR)) return result;
    const std::string resolved = ResolveCaseInsensitive(target.hostFolder, target.components, &cache);
    if (resolved == target.literal) return result;
    return op(resolved);
}

// New entries need the walk: another case of the name may exist already.
std::string ForNewEntry(const Located& target, FolderNameCache& cache) {
    return ResolveCaseInsensitive(target.hostFolder, target.components, &cache);
}

std::string ParentOf(const std::string& hostPath) {
    const std::string::size_type slash = hostPath.rfind('/');
    return slash == 0 ? std::string("/") : hostPath.substr(0, slash);
}

std::string NameOf(const std::string& hostPath) { return hostPath.substr(hostPath.rfind('/') + 1); }

bool RemoveHostFile(const std::string& hostPath) {
    struct stat info;
    if (::lstat(hostPath.c_str(), &info) != 0) return false;
    if (S_ISDIR(info.st_mode)) {
        errno = EISDIR;
        return false;
    }
    // Root may unlink anything; the read-only attribute must hold regardless.
    if (!S_ISLNK(info.st_mode) && IsReadOnlyMode(info.st_mode)) {
        errno = EACCES;
        return false;
    }
    return ::unlink(hostPath.c_str()) == 0;
}

}  // namespace

PosixFileSystem::PosixFileSystem(const std::string& root) : PosixFileSystem(root, kProcessMountTable) {}

PosixFileSystem::PosixFileSystem(const std::string& root, const std::string& mountTable)
    : m_root(root), m_drives(LoadDriveTable(root)) {
    AddOpticalDrives(m_drives, ReadOpticalMounts(mountTable));
}

const std::vector<DriveMapping>& PosixFileSystem::Drives() const { return m_drives; }

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
    const auto query = [&info](const std::string& host) { return ::statvfs(host.c_str(), &info) == 0; };
    if (const DriveMapping* drive = DriveOfRoot(m_drives, path)) {
        if (!query(drive->hostFolder)) return false;
    } else {
        Located target;
        if (!Locate(m_drives, path, false, &target)) return false;
        if (!OnExistingEntry(target, m_folderNames, query)) return false;
    }
    *freeBytes = static_cast<std::uint64_t>(info.f_bavail) * static_cast<std::uint64_t>(info.f_frsize);
    return true;
}

bool PosixFileSystem::Exists(const std::string& path) {
    Located target;
    if (!Locate(m_drives, path, false, &target)) return false;
    return OnExistingEntry(target, m_folderNames, [](const std::string& host) {
        struct stat info;
        return ::stat(host.c_str(), &info) == 0;
    });
}

bool PosixFileSystem::GetStatus(const std::string& path, plat::FileStatus* status) {
    Located target;
    if (!Locate(m_drives, path, false, &target)) return false;
    return OnExistingEntry(target, m_folderNames,
                           [status](const std::string& host) { return StatusOfHostPath(host, status); });
}

bool PosixFileSystem::CreateFolder(const std::string& path) {
    Located target;
    if (!Locate(m_drives, path, true, &target)) return false;
    const std::string host = ForNewEntry(target, m_folderNames);
    if (::mkdir(host.c_str(), 0755) != 0) return false;
    m_folderNames.NoteCreated(ParentOf(host), NameOf(host));
    return true;
}

bool PosixFileSystem::RemoveFolder(const std::string& path) {
    Located target;
    if (!Locate(m_drives, path, true, &target)) return false;
    return OnExistingEntry(target, m_folderNames, [this](const std::string& host) {
        if (::rmdir(host.c_str()) != 0) return false;
        m_folderNames.Forget(host);
        m_folderNames.Forget(ParentOf(host));
        return true;
    });
}

bool PosixFileSystem::RemoveFile(const std::string& path) {
    Located target;
    if (!Locate(m_drives, path, true, &target)) return false;
    return OnExistingEntry(target, m_folderNames, [this](const std::string& host) {
        if (!RemoveHostFile(host)) return false;
        m_folderNames.Forget(ParentOf(host));
        return true;
    });
}

std::unique_ptr<plat::File> PosixFileSystem::OpenForRead(const std::string& path) {
    Located target;
    if (!Locate(m_drives, path, true, &target)) return nullptr;
    return OnExistingEntry(target, m_folderNames, OpenHostFileForRead);
}

std::unique_ptr<plat::File> PosixFileSystem::OpenForWrite(const std::string& path) {
    Located target;
    if (!Locate(m_drives, path, true, &target)) return nullptr;
    const std::string host = ForNewEntry(target, m_folderNames);
    bool created = false;
    std::unique_ptr<plat::File> file = OpenHostFileForWrite(host, &created);
    if (created) m_folderNames.NoteCreated(ParentOf(host), NameOf(host));
    return file;
}

bool PosixFileSystem::SetStatus(const std::string& path, const plat::FileStatus& status) {
    Located target;
    if (!Locate(m_drives, path, true, &target)) return false;
    return OnExistingEntry(target, m_folderNames,
                           [&status](const std::string& host) { return ApplyStatusToHostPath(host, status); });
}

std::unique_ptr<plat::FolderEnumeration> PosixFileSystem::Enumerate(const std::string& pattern) {
    std::string folder;
    Located target;
    if (!FolderOfPattern(pattern, &folder) || !Locate(m_drives, folder, false, &target)) return nullptr;
    return OnExistingEntry(target, m_folderNames, EnumerateHostFolder);
}

}  // namespace posixplat
