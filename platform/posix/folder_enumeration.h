#pragma once
// One pass over a host folder, in the order the file system returns the entries.
// "." and ".." are not delivered, nor folders reached through a symbolic link (a tree
// copy must not loop); a link to a file, or one that leads nowhere, is a file.
#include <memory>
#include <string>

#include "platform/file_system.h"
#include "platform/posix/posix_handles.h"

namespace posixplat {

class PosixFolderEnumeration : public plat::FolderEnumeration {
public:
    explicit PosixFolderEnumeration(UniqueDir dir);
    bool Next(plat::FolderEntry* entry) override;

private:
    UniqueDir m_dir;
};

// Null when the folder cannot be listed.
std::unique_ptr<plat::FolderEnumeration> EnumerateHostFolder(const std::string& hostFolder);

}  // namespace posixplat
