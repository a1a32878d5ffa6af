#include "platform/win32/win32_file_system.h"

#include "platform/win32/win32_api.h"

#include <vector>

#include "platform/win32/win32_file.h"
#include "platform/win32/win32_file_time.h"
#include "platform/win32/win32_folder_enumeration.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_wide_text.h"

namespace win32plat {
namespace {

// Attribute bits SetFileAttributes accepts; the others describe the entry's kind.
constexpr DWORD kSettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                      FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL |
                                      FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
                                      FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

bool ApplyAttributes(const std::wstring& path, std::uint32_t attributes) {
    DWORD settable = attributes & kSettableAttributes;
    if (settable == 0) settable = FILE_ATTRIBUTE_NORMAL;
    return SetFileAttributesW(path.c_str(), settable) != FALSE;
}

bool ApplyTimes(const std::wstring& path, const plat::FileStatus& status) {
    // Backup semantics let the same call stamp a folder.
    UniqueFileHandle handle(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle.Valid()) return false;
    const FILETIME creation = ToFileTime(status.creationTime);
    const FILETIME access = ToFileTime(status.lastAccessTime);
    const FILETIME write = ToFileTime(status.lastWriteTime);
    // A zero time leaves that stamp as it is.
    return SetFileTime(handle.Get(), status.creationTime ? &creation : nullptr,
                       status.lastAccessTime ? &access : nullptr, status.lastWriteTime ? &write : nullptr) != FALSE;
}

}  // namespace

std::string Win32FileSystem::LogicalDriveStrings() {
    std::vector<wchar_t> buffer(256);
    for (;;) {
        const DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length == 0) return {};
        if (length < buffer.size()) return Narrow(buffer.data(), length);
        buffer.resize(length + 1);
    }
}

plat::DriveType Win32FileSystem::GetDriveType(const std::string& root) {
    const auto wide = Wide(root);
    // What the system answers for a root it cannot make out.
    if (!wide) return static_cast<plat::DriveType>(DRIVE_NO_ROOT_DIR);
    return static_cast<plat::DriveType>(GetDriveTypeW(wide->c_str()));
}

bool Win32FileSystem::GetFreeBytes(const std::string& path, std::uint64_t* freeBytes) {
    const auto wide = Wide(path);
    ULARGE_INTEGER available, total, totalFree;
    if (!wide || !GetDiskFreeSpaceExW(wide->c_str(), &available, &total, &totalFree)) return false;
    *freeBytes = available.QuadPart;
    return true;
}

bool Win32FileSystem::Exists(const std::string& path) {
    const auto wide = Wide(path);
    return wide && GetFileAttributesW(wide->c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32FileSystem::GetStatus(const std::string& path, plat::FileStatus* status) {
    const auto wide = Wide(path);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!wide || !GetFileAttributesExW(wide->c_str(), GetFileExInfoStandard, &data)) return false;
    status->creationTime = FromFileTime(data.ftCreationTime);
    status->lastAccessTime = FromFileTime(data.ftLastAccessTime);
    status->lastWriteTime = FromFileTime(data.ftLastWriteTime);
    status->size = (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    status->attributes = data.dwFileAttributes;
    return true;
}

bool Win32FileSystem::CreateFolder(const std::string& path) {
    const auto wide = Wide(path);
    return wide && CreateDirectoryW(wide->c_str(), nullptr) != FALSE;
}

bool Win32FileSystem::RemoveFolder(const std::string& path) {
    const auto wide = Wide(path);
    return wide && RemoveDirectoryW(wide->c_str()) != FALSE;
}

bool Win32FileSystem::RemoveFile(const std::string& path) {
    const auto wide = Wide(path);
    return wide && DeleteFileW(wide->c_str()) != FALSE;
}

std::unique_ptr<plat::File> Win32FileSystem::OpenForRead(const std::string& path) {
    const auto wide = Wide(path);
    if (!wide) return nullptr;
    UniqueFileHandle handle(CreateFileW(wide->c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!handle.Valid()) return nullptr;
    return std::make_unique<Win32File>(std::move(handle));
}

std::unique_ptr<plat::File> Win32FileSystem::OpenForWrite(const std::string& path) {
    // CREATE_ALWAYS truncates an existing file and fails on a read-only one on Windows.
    // Under Wine run by root the attribute is only a missing permission bit, which does
    // not stop root, so it is checked here as well: a read-only file stays untouched.
    const auto wide = Wide(path);
    if (!wide) return nullptr;
    const DWORD attributes = GetFileAttributesW(wide->c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    UniqueFileHandle handle(
        CreateFileW(wide->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.Valid()) return nullptr;
    return std::make_unique<Win32File>(std::move(handle), m_flushFailed);
}

bool Win32FileSystem::SetStatus(const std::string& path, const plat::FileStatus& status) {
    const auto wide = Wide(path);
    if (!wide) return false;
    const DWORD current = GetFileAttributesW(wide->c_str());
    if (current == INVALID_FILE_ATTRIBUTES) return false;
    // A read-only file cannot be opened to stamp its times: clear the attribute first
    // and apply the new attributes, read-only or not, only after the times.
    const bool liftFirst = (current & FILE_ATTRIBUTE_READONLY) != 0;
    if (liftFirst && !ApplyAttributes(*wide, status.attributes & ~plat::kAttrReadOnly)) return false;
    bool ok = ApplyTimes(*wide, status);
    if (!ApplyAttributes(*wide, status.attributes)) ok = false;
    return ok;
}

std::unique_ptr<plat::FolderEnumeration> Win32FileSystem::Enumerate(const std::string& pattern) {
    return Win32FolderEnumeration::Start(pattern);
}

bool Win32FileSystem::FlushDrive(const std::string&) {
    if (!*m_flushFailed) return true;
    *m_flushFailed = false;
    SetLastError(ERROR_WRITE_FAULT);
    return false;
}

}  // namespace win32plat
