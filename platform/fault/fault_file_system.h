#pragma once
// The file system wrapper of the fault platform: opens, reads, writes, status, folder
// creation, deletion and free space as the plan says. Private to the fault platform.
#include "platform/fault/fault_state.h"
#include "platform/forwarding_file_system.h"

namespace faultplat {

class FaultFileSystem : public plat::ForwardingFileSystem {
public:
    FaultFileSystem(plat::FileSystem& real, FaultState& state);

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
    bool FlushDrive(const std::string& path) override;

private:
    FaultState& m_state;
};

}  // namespace faultplat
