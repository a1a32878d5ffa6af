// Linux: the POSIX platform over the product's system root; UTF-8 is the ANSI code page.
#include "tools/script_driver/driver_platform.h"

#include "platform/journal/journal_places.h"
#include "platform/posix/posix_platform.h"

namespace scriptdriver {
namespace {

class PosixSystemPlatform : public SystemPlatform {
public:
    explicit PosixSystemPlatform(std::unique_ptr<posixplat::PosixPlatform> platform)
        : m_platform(std::move(platform)) {}
    plat::Platform& platform() override { return m_platform->platform(); }
    std::vector<std::string> problems() const override { return m_platform->Problems(); }
    std::filesystem::path JournalPath() const override {
        return std::filesystem::path(m_platform->root()) / journal::kSandboxJournalName;
    }

private:
    std::unique_ptr<posixplat::PosixPlatform> m_platform;
};

}  // namespace

std::unique_ptr<SystemPlatform> OpenSystemPlatform(std::string* error) {
    std::unique_ptr<posixplat::PosixPlatform> platform =
        posixplat::PosixPlatform::Open(posixplat::DefaultSystemRoot(), error);
    if (!platform) return nullptr;
    return std::make_unique<PosixSystemPlatform>(std::move(platform));
}

std::string BuildName() { return "Linux, scripted driver"; }

std::string Utf8ToAnsi(const std::string& utf8) { return utf8; }

std::string AnsiToUtf8(const std::string& ansi) { return ansi; }

}  // namespace scriptdriver
