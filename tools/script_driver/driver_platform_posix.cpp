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
    std::filesystem::path JournalPath() const override {
        return std::filesystem::path(m_platform->JournalPath());
    }

private:
    std::unique_ptr<posixplat::PosixPlatform> m_platform;
};

}  // namespace

std::unique_ptr<SystemPlatform> OpenSystemPlatform(const std::optional<std::string>& winePrefix,
                                                   const std::vector<std::string>& discImages, std::string* opened,
                                                   std::string* error) {
    posixplat::SystemChoice choice;
    choice.winePrefix = winePrefix.has_value();
    if (winePrefix) choice.prefixDir = *winePrefix;
    choice.discImages = discImages;
    std::string what;
    std::unique_ptr<posixplat::PosixPlatform> platform = posixplat::OpenChosenSystem(choice, &what, error);
    if (!platform) return nullptr;
    // The sandbox says nothing: the driver's output is what the dialog shows.
    if (choice.winePrefix || !discImages.empty()) *opened = what;
    return std::make_unique<PosixSystemPlatform>(std::move(platform));
}

std::string BuildName() { return "Linux, scripted driver"; }

std::string Utf8ToAnsi(const std::string& utf8) { return utf8; }

std::string AnsiToUtf8(const std::string& ansi) { return ansi; }

journal::Journal::ToUtf8 JournalToUtf8() { return {}; }

}  // namespace scriptdriver
