#pragma once
// Shell links on Linux: real MS-SHLLINK (.lnk) files, written through the file
// system's drive mapping.
#include "platform/posix/posix_file_system.h"
#include "platform/shell.h"

namespace posixplat {

class PosixShell : public plat::Shell {
public:
    explicit PosixShell(PosixFileSystem& fileSystem);
    bool InitializeComponents() override;
    std::unique_ptr<plat::ShellLink> CreateLink() override;

private:
    PosixFileSystem& m_fileSystem;
};

}  // namespace posixplat
