#include "platform/posix/drives/drive_table.h"

#include "platform/ascii.h"

namespace posixplat {

std::string WithoutTrailingSlashes(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

void AddImageDrives(std::vector<DriveMapping>& drives, const std::vector<std::string>& images,
                    std::vector<std::string>* problems) {
    char next = 'D';
    for (const std::string& image : images) {
        while (next <= 'Z' && FindDrive(drives, next) != nullptr) ++next;
        if (next > 'Z') {
            if (problems) problems->push_back(image + ": no drive letter is free for the disc image");
            continue;
        }
        drives.push_back(DriveMapping{next, plat::DriveType::CdRom, image, true});
    }
}

void AddOpticalDrives(std::vector<DriveMapping>& drives, const std::vector<std::string>& mountPoints) {
    char next = 'D';
    for (const std::string& mountPoint : mountPoints) {
        const std::string folder = WithoutTrailingSlashes(mountPoint);
        bool known = false;
        for (const DriveMapping& drive : drives) {
            if (drive.hostFolder == folder) known = true;
        }
        if (known) continue;
        while (next <= 'Z' && FindDrive(drives, next) != nullptr) ++next;
        if (next > 'Z') return;
        drives.push_back(DriveMapping{next, plat::DriveType::CdRom, folder});
    }
}

bool FindNamedDriveType(const NamedDriveType* names, std::size_t count, const std::string& name,
                        plat::DriveType* type) {
    for (std::size_t i = 0; i < count; ++i) {
        if (ascii::EqualIgnoringCase(name, names[i].name)) {
            *type = names[i].type;
            return true;
        }
    }
    return false;
}

const DriveMapping* FindDrive(const std::vector<DriveMapping>& drives, char letter) {
    const char upper = ascii::ToUpper(letter);
    for (const DriveMapping& drive : drives) {
        if (drive.letter == upper) return &drive;
    }
    return nullptr;
}

}  // namespace posixplat
