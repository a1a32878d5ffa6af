#pragma once
// The file system over the real Win32 calls. Paths and names are UTF-8, handed to the
// W calls as UTF-16; the system itself matches names without regard to case and keeps the read-only
// attribute, so nothing here has to emulate either.
#include <memory>

#include "platform/file_system.h"

namespace win32plat {

class Win32FileSystem : public plat::FileSystem {
public:
    std::string LogicalDriveStrings() override;
    plat::DriveType GetDriveType(const std::string& root) override;
    bool GetFreeBytes(const std::string& path, std::uint64_t* freeBytes) override;
    bool Exists(const std::string& path) override;
    bool GetStatus(const std::string& path, plat::FileStatus* status) override;
    bool CreateFolder(const std::string& path) override;
    bool RemoveFolder(const std::string& path) override;
    bool RemoveFile(const std::string& path) override;
    std::unique_ptr<plat::File> OpenForRead(const std::string& path) override;
    std::unique_ptr<plat::File> OpenForWrite(const std::string& path) override;
    bool SetStatus(const std::string& path, const plat::FileStatus& status) override;
    std::unique_ptr<plat::FolderEnumeration> Enumerate(const std::string& pattern) override;
    // Each written file is flushed as it is closed (FlushFileBuffers of a whole volume
    // needs an administrator): this reports whether one of those flushes failed.
    bool FlushDrive(const std::string& path) override;

private:
    std::shared_ptr<bool> m_flushFailed = std::make_shared<bool>(false);
};

}  // namespace win32plat
