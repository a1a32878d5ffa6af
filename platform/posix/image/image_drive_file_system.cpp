#include "platform/posix/image/image_drive_file_system.h"

#include <cerrno>

#include "platform/posix/drives/windows_path.h"

namespace posixplat {
namespace {

int LetterIndex(char letter) {
    if (letter >= 'a' && letter <= 'z') return letter - 'a';
    if (letter >= 'A' && letter <= 'Z') return letter - 'A';
    return -1;
}

// A disc takes no changes.
bool Refuse() {
    errno = EROFS;
    return false;
}

class ImageFolderEnumeration : public plat::FolderEnumeration {
public:
    ImageFolderEnumeration(const ImageTree& tree, std::uint32_t folder) : m_tree(tree), m_folder(folder) {}

    bool Next(plat::FolderEntry* entry) override {
        const std::vector<std::uint32_t>& children = m_tree.Node(m_folder).children;
        if (m_next >= children.size()) return false;
        const ImageNode& node = m_tree.Node(children[m_next++]);
        entry->name = node.name;
        entry->isFolder = node.isFolder;
        return true;
    }

private:
    const ImageTree& m_tree;
    std::uint32_t m_folder;
    std::size_t m_next = 0;
};

}  // namespace

ImageDriveFileSystem::ImageDriveFileSystem(plat::FileSystem& others) : m_others(others) {}

void ImageDriveFileSystem::AddDrive(char letter, std::unique_ptr<DiscImage> image, OpenReads::Share keep) {
    const int index = LetterIndex(letter);
    if (index < 0) return;
    m_drives[static_cast<std::size_t>(index)] = std::make_unique<Drive>(Drive{std::move(image), std::move(keep)});
}

bool ImageDriveFileSystem::HasReadableDisc(char letter) const {
    const int index = LetterIndex(letter);
    return index >= 0 && m_drives[static_cast<std::size_t>(index)] && m_drives[static_cast<std::size_t>(index)]->image;
}

ImageDriveFileSystem::Drive* ImageDriveFileSystem::DriveOf(const std::string& path) {
    if (path.size() < 2 || path[1] != ':') return nullptr;
    const int index = LetterIndex(path[0]);
    return index < 0 ? nullptr : m_drives[static_cast<std::size_t>(index)].get();
}

bool ImageDriveFileSystem::Find(const Drive& drive, const std::string& path, std::uint32_t* node) {
    WindowsPath parsed;
    if (!ParseWindowsPath(path, &parsed)) {
        errno = EINVAL;
        return false;
    }
    if (!drive.image) {
        errno = ENOMEDIUM;
        return false;
    }
    if (!drive.image->Tree().Find(parsed.components, node)) {
        errno = ENOENT;
        return false;
    }
    return true;
}

std::string ImageDriveFileSystem::LogicalDriveStrings() { return m_others.LogicalDriveStrings(); }

plat::DriveType ImageDriveFileSystem::GetDriveType(const std::string& root) {
    if (DriveOf(root) && (root.size() == 2 || (root.size() == 3 && (root[2] == '\\' || root[2] == '/')))) {
        return plat::DriveType::CdRom;
    }
    return m_others.GetDriveType(root);
}

bool ImageDriveFileSystem::GetFreeBytes(const std::string& path, std::uint64_t* freeBytes) {
    Drive* drive = DriveOf(path);
    if (!drive) return m_others.GetFreeBytes(path, freeBytes);
    std::uint32_t node;
    if (path.size() > 3 && !Find(*drive, path, &node)) return false;
    if (!drive->image) {
        errno = ENOMEDIUM;
        return false;
    }
    *freeBytes = 0;
    return true;
}

bool ImageDriveFileSystem::Exists(const std::string& path) {
    Drive* drive = DriveOf(path);
    if (!drive) return m_others.Exists(path);
    std::uint32_t node;
    return Find(*drive, path, &node);
}

bool ImageDriveFileSystem::GetStatus(const std::string& path, plat::FileStatus* status) {
    Drive* drive = DriveOf(path);
    if (!drive) return m_others.GetStatus(path, status);
    std::uint32_t node;
    if (!Find(*drive, path, &node)) return false;
    *status = drive->image->Tree().Node(node).status;
    return true;
}

bool ImageDriveFileSystem::CreateFolder(const std::string& path) {
    return DriveOf(path) ? Refuse() : m_others.CreateFolder(path);
}

bool ImageDriveFileSystem::RemoveFolder(const std::string& path) {
    Drive* drive = DriveOf(path);
    if (!drive) return m_others.RemoveFolder(path);
    std::uint32_t node;
    return Find(*drive, path, &node) && Refuse();
}

bool ImageDriveFileSystem::RemoveFile(const std::string& path) {
    Drive* drive = DriveOf(path);
    if (!drive) return m_others.RemoveFile(path);
    std::uint32_t node;
    return Find(*drive, path, &node) && Refuse();
}

std::unique_ptr<plat::File> ImageDriveFileSystem::OpenForRead(const std::string& path) {
    Drive* drive = DriveOf(path);
    if (!drive) return m_others.OpenForRead(path);
    std::uint32_t node;
    if (!Find(*drive, path, &node)) return nullptr;
    return drive->image->OpenFile(node);
}

std::unique_ptr<plat::File> ImageDriveFileSystem::OpenForWrite(const std::string& path) {
    if (!DriveOf(path)) return m_others.OpenForWrite(path);
    Refuse();
    return nullptr;
}

bool ImageDriveFileSystem::SetStatus(const std::string& path, const plat::FileStatus& status) {
    return DriveOf(path) ? Refuse() : m_others.SetStatus(path, status);
}

std::unique_ptr<plat::FolderEnumeration> ImageDriveFileSystem::Enumerate(const std::string& pattern) {
    Drive* drive = DriveOf(pattern);
    if (!drive) return m_others.Enumerate(pattern);
    std::string folder;
    std::uint32_t node;
    if (!FolderOfPattern(pattern, &folder)) {
        errno = EINVAL;
        return nullptr;
    }
    if (!Find(*drive, folder, &node)) return nullptr;
    const ImageNode& found = drive->image->Tree().Node(node);
    if (!found.isFolder) {
        errno = ENOTDIR;
        return nullptr;
    }
    if (found.unreadable) {
        errno = EIO;
        return nullptr;
    }
    return std::make_unique<ImageFolderEnumeration>(drive->image->Tree(), node);
}

// Nothing is ever written to an image: it has nothing to put on a disk.
bool ImageDriveFileSystem::FlushDrive(const std::string& path) {
    return DriveOf(path) ? true : m_others.FlushDrive(path);
}

}  // namespace posixplat
