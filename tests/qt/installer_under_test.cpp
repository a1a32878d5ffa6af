#include "tests/qt/installer_under_test.h"

#include <QTest>
#include <cstdint>
#include <cstring>
#include <cstdlib>
#include <iostream>

#include "registry/reg_key.h"

namespace {

constexpr const char* kRecordKey = "Software\\Velstra\\Mirel";

[[noreturn]] void Fail(const std::string& what) {
    std::cerr << "fixture: " << what << '\n';
    std::abort();
}

}  // namespace

InstallerUnderTest::InstallerUnderTest() : m_root(testsupport::TempSystemRootOptions::WithCdrom('Q')) {
    std::string error;
    m_system = posixplat::PosixPlatform::Open(m_root.root(), &error);
    if (!m_system) Fail("cannot open the platform: " + error);
}

InstallerUnderTest::~InstallerUnderTest() {
    if (m_host) m_host->SetCommandSink(nullptr);
    m_dlg.reset();
    m_answers.reset();
    m_host.reset();
}

testsupport::SampleDisc InstallerUnderTest::InsertDisc() {
    testsupport::SampleDiscOptions options;
    options.markerInSubfolder = true;
    // One file of several transfer blocks, so the run updates the bar more than once.
    options.largeFileSize = 3 * 1024 * 1024;
    return testsupport::MakeSampleDisc(m_root.driveFolder('Q'), options);
}

void InstallerUnderTest::WriteRecord(const std::string& path, const std::string& cdPath,
                                     const std::string& setupMode, std::optional<unsigned> installKoe) {
    plat::Registry& registry = m_system->platform().registry;
    registry::RegKey key(registry);
    if (key.Create(plat::kHkeyCurrentUser, kRecordKey) != plat::kErrorSuccess) Fail("cannot create the record");
    const std::pair<const char*, const std::string*> strings[] = {
        {"Path", &path}, {"CDPath", &cdPath}, {"SetupMode", &setupMode}};
    for (const auto& [name, text] : strings) {
        if (registry.SetValue(key.get(), name, plat::kRegSz, reinterpret_cast<const unsigned char*>(text->c_str()),
                              static_cast<std::uint32_t>(text->size() + 1)) != plat::kErrorSuccess)
            Fail(std::string("cannot write ") + name);
    }
    if (installKoe) {
        const std::uint32_t value = *installKoe;
        if (registry.SetValue(key.get(), "Install KOE", plat::kRegDword, reinterpret_cast<const unsigned char*>(&value),
                              sizeof value) != plat::kErrorSuccess)
            Fail("cannot write Install KOE");
    }
}

std::map<std::string, std::string> InstallerUnderTest::ReadRecord() {
    plat::Registry& registry = m_system->platform().registry;
    registry::RegKey key(registry);
    std::map<std::string, std::string> values;
    if (key.Open(plat::kHkeyCurrentUser, kRecordKey, plat::kKeyRead) != plat::kErrorSuccess) return values;
    for (const char* name : {"Path", "CDPath", "SetupMode", "Install KOE"}) {
        unsigned char data[1024];
        std::uint32_t size = sizeof data;
        std::uint32_t type = 0;
        if (registry.QueryValue(key.get(), name, &type, data, &size) != plat::kErrorSuccess) continue;
        if (type == plat::kRegDword && size == 4) {
            std::uint32_t value = 0;
            std::memcpy(&value, data, 4);
            values[name] = "dword:" + std::to_string(value);
        } else {
            std::string text(reinterpret_cast<const char*>(data), size);
            if (!text.empty() && text.back() == '\0') text.pop_back();
            values[name] = text;
        }
    }
    return values;
}

void InstallerUnderTest::Start() {
    m_host = std::make_unique<qtui::QtDialogHost>();
    m_answers = std::make_unique<AnsweringHost>(*m_host);
    m_dlg = std::make_unique<CInstallerDlg>(m_system->platform(), *m_answers);
    m_host->SetCommandSink([this](int id, int code) { m_dlg->OnCommand(id, code); });
    m_dlg->OnInitDialog();
    m_host->Window().show();
    if (!QTest::qWaitForWindowExposed(&m_host->Window())) Fail("the window was never exposed");
}
