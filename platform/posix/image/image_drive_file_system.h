#pragma once
// Drives whose disc is an image file, in front of the file system of every other drive:
// each call for a letter of an image is answered from the image, read-only as a CD is
// (every change refused, no free space, drive type CD-ROM); all others pass through.
#include <array>
#include <memory>
#include <string>

#include "platform/file_system.h"
#include "platform/posix/image/disc_image.h"
#include "platform/posix/fs/open_reads.h"

namespace posixplat {

class ImageDriveFileSystem : public plat::FileSystem {
public:
    explicit ImageDriveFileSystem(plat::FileSystem& others);

    // Answers for `letter` from `image`; a null image is a drive without a readable disc.
    // `keep` is held for as long as the drive is (it keeps the image file from being
    // written meanwhile).
    void AddDrive(char letter, std::unique_ptr<DiscImage> image, OpenReads::Share keep = {});
    // Whether `letter` (either case) is a drive of an image that could be read.
    bool HasReadableDisc(char letter) const;

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
    bool FlushDrive(const std::string& path) override;

private:
    struct Drive {
        std::unique_ptr<DiscImage> image;
        OpenReads::Share keep;
    };
    // The drive of an image that `path` is on, or null for the others' paths.
    Drive* DriveOf(const std::string& path);
    // The entry `path` names on `drive`; false with errno when there is none.
    bool Find(const Drive& drive, const std::string& path, std::uint32_t* node);

    plat::FileSystem& m_others;
    std::array<std::unique_ptr<Drive>, 26> m_drives;
};

}  // namespace posixplat
