#include "platform/posix/wine/wine_disc_drives.h"

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/posix/drives/fuse_disc_image.h"
#include "platform/posix/wine/wine_disc_letters.h"

namespace posixplat {
namespace {

std::string RealPath(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : std::string();
}

bool ReachedByALetter(const std::string& dosdevices, const std::vector<DosDeviceLetter>& letters,
                      const std::string& mountPoint) {
    for (const DosDeviceLetter& state : letters) {
        if (state.hasDrive && RealPath(dosdevices + "/" + state.letter + ":") == mountPoint) return true;
    }
    return false;
}

// Points the link `name` at `target`, replacing what was there in one step.
bool PlaceLink(const std::string& name, const std::string& target, std::string* error) {
    const std::string fresh = name + ".mirel-new";
    ::unlink(fresh.c_str());
    if (::symlink(target.c_str(), fresh.c_str()) != 0 || ::rename(fresh.c_str(), name.c_str()) != 0) {
        *error = "cannot link " + name + " to " + target + ": " + std::strerror(errno);
        ::unlink(fresh.c_str());
        return false;
    }
    return true;
}

// See the header: the game is told the volume of an image file's own drive, not the disc's.
bool IsImageFile(const std::string& device) {
    struct stat info;
    return ::stat(device.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool TypeAsCdrom(plat::Registry& registry, char letter, std::string* error) {
    plat::RegKeyHandle key = plat::kNullKey;
    if (registry.CreateKey(plat::kHkeyLocalMachine, "Software\\Wine\\Drives", &key) != plat::kErrorSuccess) {
        *error = "cannot open HKLM\\Software\\Wine\\Drives in system.reg";
        return false;
    }
    static const char kCdrom[] = "cdrom";
    const std::string name{letter, ':'};
    const bool set = registry.SetValue(key, name, plat::kRegSz, reinterpret_cast<const unsigned char*>(kCdrom),
                                       sizeof kCdrom) == plat::kErrorSuccess;
    registry.CloseKey(key);
    if (!set) *error = "cannot write \"" + name + "\"=\"cdrom\" to HKLM\\Software\\Wine\\Drives in system.reg";
    return set;
}

}  // namespace

bool WriteDiscLetter(const std::string& dosdevices, char letter, const std::string& folder, const std::string& device,
                     plat::Registry& registry, std::string* error) {
    const std::string drive = dosdevices + "/" + letter + ":";
    if (!PlaceLink(drive, folder, error)) return false;
    if (!device.empty() && !PlaceLink(drive + ":", device, error)) return false;
    return TypeAsCdrom(registry, letter, error);
}

std::string DiscLetterAddedLine(char letter, const std::string& what) {
    return std::string(1, static_cast<char>(letter - 'a' + 'A')) + ": added for " + what + ", a CD-ROM drive of the prefix";
}

std::vector<std::string> AddWineDiscDrives(const std::string& prefix, const std::vector<OpticalMount>& mounts,
                                           plat::Registry& registry, std::vector<std::string>* problems) {
    const std::string dosdevices = prefix + "/dosdevices";
    std::vector<std::string> added;
    for (const OpticalMount& mount : mounts) {
        const std::string mountPoint = RealPath(mount.mountPoint);
        std::vector<DosDeviceLetter> letters = ReadDosDeviceLetters(dosdevices);
        if (mountPoint.empty() || ReachedByALetter(dosdevices, letters, mountPoint)) continue;

        std::string device;
        if (mount.type.rfind("fuse.", 0) == 0) {
            device = FuseIsoImageFile(mountPoint);
        } else if (!mount.source.empty() && mount.source[0] == '/') {
            device = CanonicalDevicePath(mount.source);
        }
        const char letter = ChooseDiscLetter(letters, device);
        if (!letter) {
            problems->push_back("the disc at " + mountPoint + " gets no drive letter in " + prefix +
                                ": D: to Z: are all taken");
            continue;
        }
        std::string error;
        if (!WriteDiscLetter(dosdevices, letter, mountPoint, device, registry, &error)) {
            problems->push_back("the disc at " + mountPoint + " gets no drive letter: " + error);
            continue;
        }
        added.push_back(DiscLetterAddedLine(
            letter, "the disc at " + mountPoint +
                        (device.empty() ? std::string(" (its device is unknown, so Wine reads no volume label)")
                                        : " (" + device + ")")) +
                        (IsImageFile(device) ? std::string("; Wine shows the game no volume label for an image file "
                                                           "(only for a disc drive or loop device)")
                                             : std::string()));
    }
    return added;
}

}  // namespace posixplat
