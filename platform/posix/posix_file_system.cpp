#include "platform/posix/posix_file_system.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>

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

}  // namespace

PosixFileSystem::PosixFileSystem(const std::string& root) : PosixFileSystem(root, kProcessMountTable) {}

PosixFileSystem::PosixFileSystem(const std::string& root, const std::string& mountTable)
    : m_root(root), m_drives(LoadDriveTable(root)) {
    AddOpticalDrives(m_drives, ReadOpticalMounts(mountTable));
}

const std::vector<DriveMapping>& PosixFileSystem::Drives() const { return m_drives; }

bool PosixFileSystem::ToHostPath(const std::string& windowsPath, std::string* hostPath) const {
    return TranslateWindowsPath(m_drives, windowsPath, hostPath);
}

bool PosixFileSystem::ToHostEntryPath(const std::string& windowsPath, std::string* hostPath) const {
    WindowsPath parsed;
    if (!ParseWindowsPath(windowsPath, &parsed) || parsed.components.empty()) return false;
    const DriveMapping* drive = FindDrive(m_drives, parsed.letter);
    if (!drive) return false;
    *hostPath = ResolveCaseInsensitive(drive->hostFolder, parsed.components);
    return true;
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
    std::string hostFolder;
    if (const DriveMapping* drive = DriveOfRoot(m_drives, path)) {
        hostFolder = drive->hostFolder;
    } else if (!ToHostPath(path, &hostFolder)) {
        return false;
    }
    struct statvfs info;
    if (::statvfs(hostFolder.c_str(), &info) != 0) return false;
    *freeBytes = static_cast<std::uint64_t>(info.f_bavail) * static_cast<std::uint64_t>(info.f_frsize);
    return true;
}

bool PosixFileSystem::Exists(const std::string& path) {
    std::string hostPath;
    if (!ToHostPath(path, &hostPath)) return false;
    struct stat info;
    return ::stat(hostPath.c_str(), &info) == 0;
}

bool PosixFileSystem::GetStatus(const std::string& path, plat::FileStatus* status) {
    std::string hostPath;
    if (!ToHostPath(path, &hostPath)) return false;
    return StatusOfHostPath(hostPath, status);
}

bool PosixFileSystem::CreateFolder(const std::string& path) {
    std::string hostPath;
    if (!ToHostEntryPath(path, &hostPath)) return false;
    return ::mkdir(hostPath.c_str(), 0755) == 0;
}

bool PosixFileSystem::RemoveFolder(const std::string& path) {
    std::string hostPath;
    if (!ToHostEntryPath(path, &hostPath)) return false;
    return ::rmdir(hostPath.c_str()) == 0;
}

bool PosixFileSystem::RemoveFile(const std::string& path) {
    std::string hostPath;
    if (!ToHostEntryPath(path, &hostPath)) return false;
    struct stat info;
    if (::lstat(hostPath.c_str(), &info) != 0) return false;
    // Root may unlink anything; the read-only attribute must hold regardless.
    if (S_ISDIR(info.st_mode)) return false;
    if (!S_ISLNK(info.st_mode) && IsReadOnlyMode(info.st_mode)) return false;
    return ::unlink(hostPath.c_str()) == 0;
}

std::unique_ptr<plat::File> PosixFileSystem::OpenForRead(const std::string& path) {
    std::string hostPath;
    if (!ToHostEntryPath(path, &hostPath)) return nullptr;
    return OpenHostFileForRead(hostPath);
}

std::unique_ptr<plat::File> PosixFileSystem::OpenForWrite(const std::string& path) {
    std::string hostPath;
    if (!ToHostEntryPath(path, &hostPath)) return nullptr;
    return OpenHostFileForWrite(hostPath);
}

bool PosixFileSystem::SetStatus(const std::string& path, const plat::FileStatus& status) {
    std::string hostPath;
    if (!ToHostEntryPath(path, &hostPath)) return false;
    return ApplyStatusToHostPath(hostPath, status);
}

std::unique_ptr<plat::FolderEnumeration> PosixFileSystem::Enumerate(const std::string& pattern) {
    std::string folder;
    std::string hostFolder;
    if (!FolderOfPattern(pattern, &folder) || !ToHostPath(folder, &hostFolder)) return nullptr;
    return EnumerateHostFolder(hostFolder);
}

}  // namespace posixplat
