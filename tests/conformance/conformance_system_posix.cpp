// The Linux build's system for the conformance suite: the sandbox's platform over a
// throw-away system root.
#include <atomic>

#include "platform/posix/posix_platform.h"
#include "tests/conformance/conformance_system.h"
#include "tests/support/fixtures/temp_system_root.h"

namespace conformance {
namespace {

class PosixConformanceSystem : public ConformanceSystem {
public:
    PosixConformanceSystem() {
        std::string error;
        m_platform = posixplat::PosixPlatform::Open(m_root.root(), &error);
        if (!m_platform) throw std::runtime_error("cannot open the platform: " + error);
        static std::atomic<unsigned> counter{0};
        const std::string name = "conformance-" + std::to_string(++counter);
        m_folder = "C:\\" + name;
        if (!fileSystem().CreateFolder(m_folder)) throw std::runtime_error("cannot create " + m_folder);
        m_keyPath = "Software\\MirelConformance\\" + name;
    }

    plat::FileSystem& fileSystem() override { return m_platform->platform().fileSystem; }
    plat::Registry& registry() override { return m_platform->platform().registry; }
    const std::string& folder() const override { return m_folder; }
    const std::string& keyPath() const override { return m_keyPath; }
    std::string Hyo() const override { return "表"; }
    std::string Harunea() const override { return "ハルネア"; }
    bool ListsSubKeysFoldedToLowerCase() const override { return false; }
    bool AcceptsOverlongKeyNames() const override { return false; }

private:
    testsupport::TempSystemRoot m_root;
    std::unique_ptr<posixplat::PosixPlatform> m_platform;
    std::string m_folder;
    std::string m_keyPath;
};

}  // namespace

std::unique_ptr<ConformanceSystem> OpenConformanceSystem() { return std::make_unique<PosixConformanceSystem>(); }

}  // namespace conformance
