#pragma once
// The tree of an ISO 9660 volume as libiso9660 reads it, from an image file or from a
// CD image's data track: Joliet names where the volume has them (the library prefers
// that tree), else Rock Ridge names, else the level-1 names without their version.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <cdio/iso9660.h>

#include "platform/posix/image/image_tree.h"

namespace posixplat {

struct IsoVolumeReader {
    // The entries of the folder the library calls `path` ("/", "/TXT"); null when its
    // records cannot be read. The caller frees the list.
    std::function<CdioList_t*(const std::string& path)> readFolder;
    // The volume's sectors, for the records and files that would lie past them.
    std::uint64_t sectors = 0;
    // The tree read is Joliet's.
    bool joliet = false;
    // Reads `count` sectors from `first` into `buffer`; false when they cannot be read.
    std::function<bool(std::uint32_t first, std::uint32_t count, void* buffer)> readSectors;
};

// Reads the whole tree below `root` (the root folder's record). What is left out or
// cannot be read is described in `problems`, each as "\PATH: what is wrong".
ImageTree ReadIsoTree(const IsoVolumeReader& reader, const iso9660_stat_t& root, std::vector<std::string>* problems);

// The time a record holds, as a FILETIME.
plat::FileTime IsoRecordTime(const iso9660_stat_t& record);

}  // namespace posixplat
