// Linux: the POSIX platform over the product's system root; UTF-8 is the ANSI code page.
#include "tools/script_driver/driver_platform.h"

#include "platform/posix/posix_platform.h"
#include "platform/posix/system_choice.h"

namespace scriptdriver {
namespace {

class PosixSystemPlatform : public SystemPlatform {
public:
    explicit PosixSystemPlatform(std::unique_ptr<posixplat::PosixPlatform> platform)
        : m_platform(std::move(platform)) {}
    plat::Platform& platform() override { return m_platform->platform(); }
    std::vector<std::string> problems() const override { return m_platform->Problems(); }
    std::vector<std::string> notes() const override { return m_platform->Notes(); }
    std::vector<std::string> TakeRunNotes() override { return m_platform->TakeRunNotes(); }
    std::filesystem::path JournalPath() const override {
        return std::filesystem::path(m_platform->JournalPath());
    }

private:
    std::unique_ptr<posixplat::PosixPlatform> m_platform;
};

}  // namespace

std::unique_ptr<SystemPlatform> OpenSystemPlatform(const std::optional<std::string>& winePrefix,
                                                   const std::optional<std::string>& sandbox,
                                                   const std::vector<std::string>& discImages, std::string* opened,
                                                   std::string* error) {
    posixplat::SystemChoice choice;
    if (winePrefix) choice = {posixplat::SystemChoice::Kind::kWinePrefix, *winePrefix, {}};
    if (sandbox) choice = {posixplat::SystemChoice::Kind::kSandbox, *sandbox, {}};
    choice = posixplat::ResolveSystemChoice(choice);
    choice.discImages = discImages;
    std::string what;
    std::unique_ptr<posixplat::PosixPlatform> platform = posixplat::OpenChosenSystem(choice, &what, error);
    if (!platform) return nullptr;
    // The sandbox says nothing: the driver's output is what the dialog shows.
    if (choice.kind == posixplat::SystemChoice::Kind::kWinePrefix || !discImages.empty()) *opened = what;
    return std::make_unique<PosixSystemPlatform>(std::move(platform));
}

std::string BuildName() { return "Linux, scripted driver"; }

std::vector<std::string> CommandArguments(int argc, char** argv) { return {argv + 1, argv + argc}; }

}  // namespace scriptdriver
