#include "platform/posix/system_choice.h"


namespace posixplat {

bool TakeSystemChoice(std::vector<std::string>* args, SystemChoice* choice, std::string* error) {
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args->size(); ++i) {
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
           "Without it the installer works in its own sandbox, $MIREL_SETUP_ROOT (default\n"
           "~/.local/share/mirel-setup).\n";
}

std::unique_ptr<PosixPlatform> OpenChosenSystem(const SystemChoice& choice, std::string* opened, std::string* error) {
    if (!choice.winePrefix) {
        std::unique_ptr<PosixPlatform> platform = PosixPlatform::Open(DefaultSystemRoot(), error);
        if (platform) *opened = "system root: " + platform->root();
        return platform;
    }
    const std::string dir = choice.prefixDir.empty() ? PosixPlatform::DefaultWinePrefix() : choice.prefixDir;
    std::unique_ptr<PosixPlatform> platform = PosixPlatform::OpenWinePrefix(dir, error);
    if (platform) *opened = "Wine prefix: " + platform->root();
    return platform;
}

}  // namespace posixplat
