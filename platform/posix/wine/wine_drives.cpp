#include "platform/posix/wine/wine_drives.h"

#include <dirent.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <iterator>

#include "platform/ascii.h"
#include "platform/posix/drives/optical_mounts.h"
#include "platform/posix/walls/posix_handles.h"

namespace posixplat {
namespace {

bool TypeFromWineName(const std::string& name, plat::DriveType* type) {
    static const NamedDriveType kTypes[] = {
        {"hd", plat::DriveType::Fixed},          {"cdrom", plat::DriveType::CdRom},
        {"network", plat::DriveType::Remote},    {"floppy", plat::DriveType::Removable},
        {"ramdisk", plat::DriveType::RamDisk},
    };
    return FindNamedDriveType(kTypes, std::size(kTypes), name, type);
}

std::string RealPath(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : std::string();
}

// A device node of an optical drive, by the names the kernel and udev give them.
bool IsOpticalDevice(const std::string& device) {
    const std::string name = device.substr(device.rfind('/') + 1);
    return name.rfind("sr", 0) == 0 || name.rfind("cdrom", 0) == 0 || name.rfind("dvd", 0) == 0 ||
           name.rfind("scd", 0) == 0;
}

}  // namespace

std::vector<DriveMapping> ReadWineDrives(const std::string& prefix, const std::map<std::string, std::string>& typeNames,
                                         const std::string& mountTable) {
    const std::string devices = prefix + "/dosdevices";
    std::vector<std::string> opticalMounts;
    for (const std::string& mount : ReadOpticalMounts(mountTable)) opticalMounts.push_back(RealPath(mount));

    std::vector<DriveMapping> drives;
    UniqueDir dir(::opendir(devices.c_str()));
    if (!dir.Valid()) return drives;
    while (const dirent* entry = ::readdir(dir.Get())) {
        const std::string name = ascii::LowerCased(entry->d_name);
        if (name.size() != 2 || name[1] != ':' || name[0] < 'a' || name[0] > 'z') continue;
        const std::string hostFolder = devices + "/" + entry->d_name;
        struct stat info;
        if (::stat(hostFolder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) continue;

        plat::DriveType type = plat::DriveType::Fixed;
        const auto named = typeNames.find(name);
        if (named == typeNames.end() || !TypeFromWineName(named->second, &type)) {
            const std::string target = RealPath(hostFolder);
            const bool mountedDisc =
                std::find(opticalMounts.begin(), opticalMounts.end(), target) != opticalMounts.end();
            const std::string device = RealPath(devices + "/" + name + ":");
            if (mountedDisc || (!device.empty() && IsOpticalDevice(device))) type = plat::DriveType::CdRom;
        }
        drives.push_back(DriveMapping{ascii::ToUpper(name[0]), type, hostFolder});
    }
    std::sort(drives.begin(), drives.end(),
              [](const DriveMapping& a, const DriveMapping& b) { return a.letter < b.letter; });
    return drives;
}

std::map<std::string, std::string> ReadWineDriveTypes(plat::Registry& registry) {
    std::map<std::string, std::string> types;
    plat::RegKeyHandle key = plat::kNullKey;
    if (registry.OpenKey(plat::kHkeyLocalMachine, "Software\\Wine\\Drives", plat::kKeyRead, &key) !=
        plat::kErrorSuccess) {
        return types;
    }
    for (std::uint32_t index = 0;; ++index) {
        char name[256];
        std::uint32_t nameSize = sizeof name;
        if (registry.EnumValue(key, index, name, &nameSize) != plat::kErrorSuccess) break;
        std::string value(64, '\0');
        std::uint32_t type = 0;
        std::uint32_t size = static_cast<std::uint32_t>(value.size());
        if (registry.QueryValue(key, name, &type, reinterpret_cast<unsigned char*>(value.data()), &size) !=
                plat::kErrorSuccess ||
            type != plat::kRegSz) {
            continue;
        }
        value.resize(size);
        value = value.substr(0, value.find('\0'));
        std::string letter(name, nameSize);
        for (char& c : letter) c = ascii::ToLower(c);
        types[letter] = value;
    }
    registry.CloseKey(key);
    return types;
}


}  // namespace posixplat
