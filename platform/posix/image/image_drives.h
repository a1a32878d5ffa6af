#pragma once
// The image drives of a drive table, opened in front of the file system of the others.
#include <memory>
#include <string>
#include <vector>

#include "platform/posix/drives/drive_table.h"
#include "platform/posix/fs/posix_file_system.h"
#include "platform/posix/image/image_drive_file_system.h"

namespace posixplat {

// Opens each image drive of `drives` (the table of `fileSystem`). An image that cannot
// be read stays a drive without a readable disc, the reason in `problems`, where what
// is left out of the others goes too; `lines` gets "D: /path (format)" for each one read.
// Each image file is kept from being written through `fileSystem` meanwhile.
std::unique_ptr<ImageDriveFileSystem> OpenImageDrives(PosixFileSystem& fileSystem,
                                                      const std::vector<DriveMapping>& drives,
                                                      std::vector<std::string>* problems,
                                                      std::vector<std::string>* lines);

// Disc images given for a run, as absolute paths (the drive table holds no other kind);
// false with the reason for a path that cannot be made absolute.
bool AbsoluteImagePaths(const std::vector<std::string>& given, std::vector<std::string>* absolute,
                        std::string* error);

}  // namespace posixplat
