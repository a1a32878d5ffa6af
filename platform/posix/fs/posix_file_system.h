#pragma once
// The file system on Linux: drive letters mapped to host folders by <root>/drives,
// Windows paths translated to host paths, Win32 semantics kept (see file_system.h).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/posix/walls/beneath.h"
#include "platform/posix/drives/drives_file.h"
#include "platform/posix/drives/folder_name_cache.h"
#include "platform/posix/fs/last_written_file.h"
#include "platform/posix/fs/open_reads.h"
#include "platform/posix/fs/write_back.h"
#include "platform/posix/walls/posix_handles.h"

namespace posixplat {

// Used from one thread at a time.
class PosixFileSystem : public plat::FileSystem {
public:
    // Reads <root>/drives, creating it with "C: fixed <root>/drive_c" (and that folder)
    // when missing, then adds mounted optical file systems on free letters from D:.
    explicit PosixFileSystem(const std::string& root);
    // The same with the mount table read from `mountTable` instead of /proc/self/mountinfo,
    // so that tests see the optical drives they choose, and the disc image files
    // `discImages` on the first free letters from D: before the mounted discs.
    PosixFileSystem(const std::string& root, const std::string& mountTable,
                    const std::vector<std::string>& discImages = {});
    // Over a drive table read elsewhere (a Wine prefix's), links reaching as `reach` says.
    // The table's image drives are for a file system in front of this one to answer.
    PosixFileSystem(std::vector<DriveMapping> drives, LinkReach reach);

    // The drive table as read at construction.
    const std::vector<DriveMapping>& Drives() const;
    // What could not be used in the drives file, one line each (see LoadDriveTable).
    const std::vector<std::string>& Problems() const;

    // Translates a Windows path (C:\Program Files\...) to a host path, resolving each
    // existing component case-insensitively (exact name first). Components that do not
    // exist yet keep the name as given. False for a letter that is not mapped, a
    // relative or otherwise malformed path, or one that would leave the mapped folder.
    bool ToHostPath(const std::string& windowsPath, std::string* hostPath) const;

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
    // syncfs(2) on the file system that holds `path`: one call for every file and folder
    // written there, where an fsync of each costs ten times as long. Fails, too, when a
    // background flush of that file system failed since the last call (write_back.h).
    bool FlushDrive(const std::string& path) override;

    // Opens the folder that holds (or would hold) the entry `path` names, beneath its
    // drive, for a writer that works by name inside it (write beside, rename over);
    // `name` is the entry's name there. False when the folder cannot be reached.
    bool OpenFolderOf(const std::string& path, UniqueFd* folder, std::string* name);

    // Keeps the host file (device, inode) from being opened for writing by any name for
    // as long as the share is held, as an open copy source is: a disc image read as a drive.
    OpenReads::Share KeepFromWriters(dev_t device, ino_t inode);

    // Told of each file removed, by its Windows path (a Wine prefix removes the launcher
    // of a link with it).
    void SetRemovalObserver(std::function<void(const std::string& path)> observer);

private:
    std::string m_root;
    std::vector<std::string> m_problems;  // before m_drives: filled while it is read
    std::vector<DriveMapping> m_drives;
    // Listings of folders that receive new entries, so that a copy into a folder does not
    // list it again for every file. Looking up a path does not change what it names.
    mutable FolderNameCache m_folderNames;
    LinkReach m_reach = LinkReach::kBeneathBase;
    OpenBaseFolders m_bases;
    std::function<void(const std::string& path)> m_onRemoved;
    // Sources being copied, which no name may open for writing meanwhile.
    OpenReads m_openReads;
    // Shared with the files it opens for writing, which may be closed after it is gone.
    std::shared_ptr<LastWrittenFile> m_lastWritten = std::make_shared<LastWrittenFile>();
    std::shared_ptr<WriteBack> m_writeBack = std::make_shared<WriteBack>();
};

}  // namespace posixplat
