#include "platform/posix/image/image_drives.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

namespace posixplat {

std::unique_ptr<ImageDriveFileSystem> OpenImageDrives(PosixFileSystem& fileSystem,
                                                      const std::vector<DriveMapping>& drives,
                                                      std::vector<std::string>* problems,
                                                      std::vector<std::string>* lines) {
    auto images = std::make_unique<ImageDriveFileSystem>(fileSystem);
    for (const DriveMapping& drive : drives) {
        if (!drive.image) continue;
        std::string error;
        std::unique_ptr<DiscImage> image = DiscImage::Open(drive.hostFolder, &error, problems);
        const std::string letter = std::string(1, drive.letter) + ": ";
        if (image) {
            lines->push_back(letter + drive.hostFolder + " (" + image->Kind() + ")");
        } else {
            problems->push_back(letter + error);
        }
        OpenReads::Share keep;
        if (struct stat info; ::stat(drive.hostFolder.c_str(), &info) == 0) {
            keep = fileSystem.KeepFromWriters(info.st_dev, info.st_ino);
        }
        images->AddDrive(drive.letter, std::move(image), std::move(keep));
    }
    return images;
}

bool AbsoluteImagePaths(const std::vector<std::string>& given, std::vector<std::string>* absolute,
                        std::string* error) {
    for (const std::string& image : given) {
        std::error_code ec;
        const std::string path = std::filesystem::absolute(image, ec).lexically_normal().string();
        if (ec || image.empty()) {
            if (error) *error = "cannot make the disc image " + image + " an absolute path";
            return false;
        }
        absolute->push_back(path);
    }
    return true;
}

}  // namespace posixplat
