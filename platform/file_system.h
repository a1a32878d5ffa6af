#pragma once
// The file system as the installer needs it, with Win32 semantics on every build:
// drive-letter paths with backslashes, a read-only attribute that holds even for an
// administrator, names matched without regard to letter case.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace plat {

// Values of GetDriveType.
enum class DriveType : unsigned {
    Unknown = 0,
    NoRootDir = 1,
    Removable = 2,
    Fixed = 3,
    Remote = 4,
    CdRom = 5,
    RamDisk = 6,
};

// File attribute bits as Win32 defines them.
inline constexpr std::uint32_t kAttrReadOnly = 0x01;
inline constexpr std::uint32_t kAttrDirectory = 0x10;
inline constexpr std::uint32_t kAttrArchive = 0x20;

// A point in time as a FILETIME: 100-nanosecond ticks since 1601-01-01 UTC.
using FileTime = std::uint64_t;

struct FileStatus {
    FileTime creationTime = 0;
    FileTime lastWriteTime = 0;
    FileTime lastAccessTime = 0;
    std::int64_t size = 0;
    std::uint32_t attributes = 0;
};

// An open file. Destroying it closes the file.
class File {
public:
    virtual ~File() = default;
    // Reads up to `size` bytes; `*got` is fewer than `size` only at the end of the file.
    // Returns false on an input error.
    virtual bool Read(void* buffer, std::size_t size, std::size_t* got) = 0;
    // Writes all `size` bytes or returns false (output error, full disk).
    virtual bool Write(const void* buffer, std::size_t size) = 0;
    virtual bool GetStatus(FileStatus* status) = 0;
    // Moves up to `size` bytes from this file to `out`, as one Read into `buffer` and one
    // Write of what it got would; `*got` is fewer than `size` only at the end of this
    // file. False on an input or output error. A platform that can move the bytes
    // without passing them through the process overrides this; `buffer` (at least `size`
    // bytes) is its way back when the system cannot.
    virtual bool TransferTo(File& out, void* buffer, std::size_t size, std::size_t* got) {
        return Read(buffer, size, got) && out.Write(buffer, *got);
    }
    // The handle the system knows the open file by (a descriptor), for the TransferTo of
    // a platform whose files move bytes between themselves inside the system; -1 for a
    // file without one and for a wrapper that must see every byte written to it.
    virtual std::intptr_t SystemHandle() const { return -1; }
};

struct FolderEntry {
    std::string name;
    bool isFolder = false;
};

// One pass over a folder's entries. "." and ".." are not delivered; neither are
// folders that are symbolic links, so that no copy driven by an enumeration can loop.
class FolderEnumeration {
public:
    virtual ~FolderEnumeration() = default;
    // Fills `entry` with the next entry; false when there is none left.
    virtual bool Next(FolderEntry* entry) = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Drive roots as GetLogicalDriveStrings gives them: "C:\\\0Q:\\\0" (each root
    // four bytes with its terminator). Empty when the drives cannot be listed.
    virtual std::string LogicalDriveStrings() = 0;
    virtual DriveType GetDriveType(const std::string& root) = 0;
    // Free bytes available to the calling user on the drive of `path` ("C:" or "C:\\").
    virtual bool GetFreeBytes(const std::string& path, std::uint64_t* freeBytes) = 0;

    // True when a file or folder of that name exists.
    virtual bool Exists(const std::string& path) = 0;
    virtual bool GetStatus(const std::string& path, FileStatus* status) = 0;
    // Creates one folder whose parent exists.
    virtual bool CreateFolder(const std::string& path) = 0;
    // Removes one empty folder.
    virtual bool RemoveFolder(const std::string& path) = 0;
    // Removes one file; refuses a read-only file.
    virtual bool RemoveFile(const std::string& path) = 0;

    virtual std::unique_ptr<File> OpenForRead(const std::string& path) = 0;
    // Creates the file or truncates an existing one; refuses a read-only file.
    virtual std::unique_ptr<File> OpenForWrite(const std::string& path) = 0;
    // Applies the three times and the attribute bits of `status` to the named file.
    virtual bool SetStatus(const std::string& path, const FileStatus& status) = 0;

    // Enumerates the folder named by `pattern`, which is a folder path followed by
    // "\\*.*". Returns null when the folder cannot be listed.
    virtual std::unique_ptr<FolderEnumeration> Enumerate(const std::string& pattern) = 0;

    // Puts every file written and every folder created or removed so far on the drive
    // of `path` onto its disk, so that a power cut after this loses none of it. False
    // when the system reports that some of it could not be written.
    virtual bool FlushDrive(const std::string& path) = 0;
};

}  // namespace plat
