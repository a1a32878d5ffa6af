#pragma once
// One pass over a host folder, in the order the file system returns the entries.
// "." and ".." are not delivered, nor folders reached through a symbolic link (a tree
// copy must not loop), nor links that lead out of the drive (to the drive they are names
// that do not exist); a link to a file on the drive, or one that leads nowhere, is a file.
#include <memory>
#include <string>

#include "platform/file_system.h"
#include "platform/posix/walls/beneath.h"
#include "platform/posix/walls/posix_handles.h"

namespace posixplat {

class PosixFolderEnumeration : public plat::FolderEnumeration {
public:
    // `base` is the drive's host folder, `relativeFolder` the listed folder below it.
    PosixFolderEnumeration(UniqueDir dir, LinkReach reach, UniqueFd base, std::string relativeFolder);
    bool Next(plat::FolderEntry* entry) override;

private:
    UniqueDir m_dir;
    LinkReach m_reach;
    UniqueFd m_base;
    std::string m_relativeFolder;
};

// Lists `relativeFolder` ("." for the drive root) below `base`, links reaching as `reach` says. Null when the folder
// cannot be listed.
std::unique_ptr<plat::FolderEnumeration> EnumerateHostFolder(LinkReach reach, UniqueFd base,
                                                             const std::string& relativeFolder);

}  // namespace posixplat
