#include "platform/posix/wine/wine_disc_images.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/posix/wine/wine_disc_drives.h"
#include "platform/posix/wine/wine_disc_letters.h"

namespace posixplat {
namespace {

// Beside dosdevices/ and drive_c/: the folders belong to the prefix's letters, and go
// with the prefix when it is moved, copied or removed.
constexpr const char* kDiscFolders = "mirel-setup-discs";

char UpperLetter(char letter) { return static_cast<char>(letter - 'a' + 'A'); }

DosDeviceLetter* LetterState(std::vector<DosDeviceLetter>& letters, char letter) {
    for (DosDeviceLetter& state : letters) {
        if (state.letter == letter) return &state;
    }
    letters.push_back(DosDeviceLetter{letter, false, {}, {}});
    return &letters.back();
}

bool IsExecutableFile(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::vector<WineDiscImage> ChooseImageLetters(const std::string& prefix, const std::vector<std::string>& images,
                                              std::vector<std::string>* problems) {
    const std::string dosdevices = prefix + "/dosdevices";
    std::vector<DosDeviceLetter> letters = ReadDosDeviceLetters(dosdevices);
    std::vector<WineDiscImage> chosen;
    for (const std::string& given : images) {
        const std::string image = CanonicalDevicePath(given);
        const auto same = [&image](const WineDiscImage& disc) { return disc.image == image; };
        if (std::any_of(chosen.begin(), chosen.end(), same)) {
            problems->push_back(given + ": the disc image is given twice; it gets one drive letter");
            continue;
        }
        const char letter = ChooseDiscLetter(letters, image);
        if (!letter) {
            problems->push_back(given + ": no drive letter is free for the disc image");
            continue;
        }
        DosDeviceLetter& state = *LetterState(letters, letter);
        WineDiscImage disc{letter, image, prefix + "/" + kDiscFolders + "/" + letter, false};
        if (state.hasDrive && state.device == image) {
            disc.inPrefix = true;
            if (!state.folder.empty()) disc.folder = std::filesystem::path(state.folder).lexically_normal().string();
        }
        // Taken for the images after it in this run, as it will be once written.
        state.hasDrive = true;
        state.device = image;
        chosen.push_back(std::move(disc));
    }
    return chosen;
}

void MapDiscImages(std::vector<DriveMapping>& drives, const std::vector<WineDiscImage>& images) {
    for (const WineDiscImage& disc : images) {
        const char upper = UpperLetter(disc.letter);
        drives.erase(std::remove_if(drives.begin(), drives.end(),
                                    [upper](const DriveMapping& drive) { return drive.letter == upper; }),
                     drives.end());
        drives.push_back(DriveMapping{upper, plat::DriveType::CdRom, disc.image, true});
    }
    std::sort(drives.begin(), drives.end(),
              [](const DriveMapping& a, const DriveMapping& b) { return a.letter < b.letter; });
}

std::vector<std::string> AddWineDiscImages(const std::string& prefix, const std::vector<WineDiscImage>& images,
                                           plat::Registry& registry, std::vector<std::string>* problems) {
    std::vector<std::string> added;
    for (const WineDiscImage& disc : images) {
        if (disc.inPrefix) continue;
        std::error_code ec;
        std::filesystem::create_directories(disc.folder, ec);
        std::string error = ec ? "cannot make " + disc.folder + ": " + ec.message() : std::string();
        const std::string relative = std::string("../") + kDiscFolders + "/" + disc.letter;
        if (ec || !WriteDiscLetter(prefix + "/dosdevices", disc.letter, relative, disc.image, registry, &error)) {
            problems->push_back("the disc image " + disc.image + " gets no drive letter in " + prefix + ": " + error);
            continue;
        }
        added.push_back(DiscLetterAddedLine(
            disc.letter, "the disc image " + disc.image + ", made readable at " + disc.folder + " while the game runs"));
    }
    return added;
}

bool FuseIsoInstalled() {
    const char* path = std::getenv("PATH");
    const std::string folders = path && *path ? path : "/usr/local/bin:/usr/bin:/bin";
    for (std::string::size_type start = 0; start <= folders.size();) {
        std::string::size_type end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        const std::string folder = end > start ? folders.substr(start, end - start) : ".";
        if (IsExecutableFile(folder + "/fuseiso")) return true;
        start = end + 1;
    }
    return false;
}

std::string NoFuseIsoWarning() {
    return "fuseiso is not installed, so the game started from its menu entry cannot read the disc image on its "
           "drive letter and asks for its disc; install it on Debian with: sudo apt-get install fuseiso";
}

}  // namespace posixplat
