#include "platform/posix/system_choice.h"


namespace posixplat {
namespace {

std::string ImageDriveLines(const PosixPlatform& platform) {
    std::string lines;
    for (const std::string& drive : platform.ImageDrives()) lines += "\ndisc image " + drive;
    return lines;
}

}  // namespace

bool TakeSystemChoice(std::vector<std::string>* args, SystemChoice* choice, std::string* error) {
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args->size(); ++i) {
        if ((*args)[i] == "--disc") {
            if (i + 1 == args->size() || (*args)[i + 1].empty()) {
                *error = "--disc needs a disc image file";
                return false;
            }
            choice->discImages.push_back((*args)[++i]);
            continue;
        }
        if ((*args)[i] != "--wine-prefix") {
            rest.push_back((*args)[i]);
            continue;
        }
        if (choice->winePrefix) {
            *error = "--wine-prefix is given twice";
            return false;
        }
        choice->winePrefix = true;
        if (i + 1 < args->size() && (*args)[i + 1].rfind("--", 0) != 0) choice->prefixDir = (*args)[++i];
    }
    *args = std::move(rest);
    return true;
}

std::string SystemChoiceUsage() {
    return "  --wine-prefix [DIR]    install into the Wine prefix DIR (default: $WINEPREFIX, else\n"
           "                         ~/.wine): its drives, its registry (user.reg, system.reg), its\n"
           "                         shell folders, and launchers in the desktop's menu\n"
           "  --disc IMAGE           read the disc image IMAGE (ISO 9660, UDF, or a CUE sheet with\n"
           "                         its BIN) as a CD-ROM drive on the first free letter from D:\n"
           "Without --wine-prefix the installer works in its own sandbox, $MIREL_SETUP_ROOT (default\n"
           "~/.local/share/mirel-setup).\n";
}

std::unique_ptr<PosixPlatform> OpenChosenSystem(const SystemChoice& choice, std::string* opened, std::string* error) {
    if (!choice.winePrefix) {
        std::unique_ptr<PosixPlatform> platform = PosixPlatform::Open(DefaultSystemRoot(), choice.discImages, error);
        if (platform) *opened = "system root: " + platform->root() + ImageDriveLines(*platform);
        return platform;
    }
    const std::string dir = choice.prefixDir.empty() ? PosixPlatform::DefaultWinePrefix() : choice.prefixDir;
    std::unique_ptr<PosixPlatform> platform = PosixPlatform::OpenWinePrefix(dir, choice.discImages, error);
    if (platform) *opened = "Wine prefix: " + platform->root() + ImageDriveLines(*platform);
    return platform;
}

}  // namespace posixplat
