#include "platform/posix/system_choice.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

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
        const std::string& argument = (*args)[i];
        if (argument == "--disc") {
            if (i + 1 == args->size() || (*args)[i + 1].empty()) {
                *error = "--disc needs a disc image file";
                return false;
            }
            choice->discImages.push_back((*args)[++i]);
            continue;
        }
        SystemChoice::Kind kind = SystemChoice::Kind::kUnsaid;
        if (argument == "--sandbox") kind = SystemChoice::Kind::kSandbox;
        if (argument == "--wine-prefix") kind = SystemChoice::Kind::kWinePrefix;
        if (kind == SystemChoice::Kind::kUnsaid) {
            rest.push_back(argument);
            continue;
        }
        if (choice->kind != SystemChoice::Kind::kUnsaid) {
            *error = choice->kind == kind ? argument + " is given twice"
                                          : "--sandbox and --wine-prefix name two systems; give one";
            return false;
        }
        choice->kind = kind;
        if (i + 1 < args->size() && (*args)[i + 1].rfind("--", 0) != 0) choice->dir = (*args)[++i];
    }
    *args = std::move(rest);
    return true;
}

SystemChoice ResolveSystemChoice(const SystemChoice& choice) {
    SystemChoice resolved = choice;
    if (resolved.kind == SystemChoice::Kind::kUnsaid) {
        const char* root = std::getenv("MIREL_SETUP_ROOT");
        resolved.kind = root && *root ? SystemChoice::Kind::kSandbox : SystemChoice::Kind::kWinePrefix;
    }
    if (resolved.dir.empty()) {
        resolved.dir = resolved.kind == SystemChoice::Kind::kSandbox ? DefaultSystemRoot() : PosixPlatform::DefaultWinePrefix();
    }
    return resolved;
}

std::string SystemChoiceUsage() {
    return "  --wine-prefix [DIR]    install into the Wine prefix DIR (default: $WINEPREFIX, else\n"
           "                         ~/.wine): its drives, its registry (user.reg, system.reg), its\n"
           "                         shell folders, and launchers in the desktop's menu; this is\n"
           "                         the default\n"
           "  --sandbox [ROOT]       install into the installer's own sandbox ROOT instead (default:\n"
           "                         $MIREL_SETUP_ROOT, else ~/.local/share/mirel-setup); setting\n"
           "                         MIREL_SETUP_ROOT alone chooses it too\n"
           "  --disc IMAGE           read the disc image IMAGE (ISO 9660, UDF, or a CUE sheet with\n"
           "                         its BIN) as a CD-ROM drive on the first free letter from D:;\n"
           "                         in a prefix on the letter it keeps there, which the game's\n"
           "                         launcher mounts it on with fuseiso while the game runs\n";
}

bool IsMissingWinePrefix(const SystemChoice& resolved) {
    if (resolved.kind != SystemChoice::Kind::kWinePrefix) return false;
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::symlink_status(resolved.dir, ec);
    if (status.type() == std::filesystem::file_type::not_found) return true;
    return std::filesystem::is_directory(resolved.dir, ec) && std::filesystem::is_empty(resolved.dir, ec) && !ec;
}

std::unique_ptr<PosixPlatform> OpenChosenSystem(const SystemChoice& choice, std::string* opened, std::string* error) {
    const SystemChoice resolved = ResolveSystemChoice(choice);
    if (resolved.kind == SystemChoice::Kind::kSandbox) {
        std::unique_ptr<PosixPlatform> platform = PosixPlatform::Open(resolved.dir, choice.discImages, error);
        if (platform) *opened = "system root: " + platform->root() + ImageDriveLines(*platform);
        return platform;
    }
    if (IsMissingWinePrefix(resolved)) {
        *error = "there is no Wine prefix at " + resolved.dir + "; make it with: WINEPREFIX=\"" + resolved.dir +
                 "\" wineboot --init (or give --sandbox to install into the installer's own sandbox)";
        return nullptr;
    }
    std::unique_ptr<PosixPlatform> platform = PosixPlatform::OpenWinePrefix(resolved.dir, choice.discImages, error);
    if (platform) *opened = "Wine prefix: " + platform->root() + ImageDriveLines(*platform);
    return platform;
}

}  // namespace posixplat
