// The Windows build's system for the conformance suite: the real system through the
// Win32 layer, a folder below %TEMP% and a key below HKCU\Software\MirelWin32Tests.
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_platform.h"
#include "tests/conformance/conformance_system.h"
#include "tests/win32/win32_test_support.h"

namespace conformance {
namespace {

bool RunningUnderWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

class Win32ConformanceSystem : public ConformanceSystem {
public:
    plat::FileSystem& fileSystem() override { return m_platform.platform().fileSystem; }
    plat::Registry& registry() override { return m_platform.platform().registry; }
    const std::string& folder() const override { return m_folder.path(); }
    const std::string& keyPath() const override { return m_key.path(); }
    std::string Hyo() const override { return win32test::kHyo; }
    std::string Harunea() const override { return win32test::kHarunea; }
    bool ListsSubKeysFoldedToLowerCase() const override { return RunningUnderWine(); }
    bool AcceptsOverlongKeyNames() const override { return RunningUnderWine(); }

private:
    win32plat::Win32Platform m_platform;
    win32test::TempFolder m_folder;
    win32test::TestKey m_key;
};

}  // namespace

std::unique_ptr<ConformanceSystem> OpenConformanceSystem() { return std::make_unique<Win32ConformanceSystem>(); }

}  // namespace conformance
