#pragma once
// Shell links on Linux: real MS-SHLLINK (.lnk) files, written through the file
// system's drive mapping.
#include <functional>
#include <string>

#include "platform/posix/fs/posix_file_system.h"
#include "platform/shell.h"

namespace posixplat {

class PosixShell : public plat::Shell {
public:
    // Told of each link saved: its Windows path, working folder and target.
    using SaveObserver = std::function<void(const std::string& linkPath, const std::string& workingFolder,
                                            const std::string& targetPath)>;

    explicit PosixShell(PosixFileSystem& fileSystem, SaveObserver onSaved = nullptr);
    bool InitializeComponents() override;
    std::unique_ptr<plat::ShellLink> CreateLink() override;

private:
    PosixFileSystem& m_fileSystem;
    SaveObserver m_onSaved;
};

}  // namespace posixplat
