#include "tests/core/dialog_fixture.h"

#include "registry/reg_key.h"
#include "tests/support/fixtures/dialog_user.h"
#include "tests/support/fixtures/install_record_reader.h"

DialogFixture::DialogFixture() : m_root({.withCdrom = true}) {
    std::string error;
    m_real = testsupport::OpenRootPlatform(m_root, &error);
    if (!m_real) throw std::runtime_error(error);
    m_strings = std::make_unique<StringOverride>(m_real->platform().text);
    m_textPlatform = std::make_unique<plat::Platform>(WithText(m_real->platform(), *m_strings));
    m_faults = std::make_unique<faultplat::FaultPlatform>(*m_textPlatform, faultplat::FaultPlan{});
}

CInstallerDlg& DialogFixture::dlg() {
    if (!m_dlg) {
        m_host = std::make_unique<HeadlessDialogHost>();
        m_host->SetAnswerer([this](const std::string& text, unsigned flags) {
            if (m_answers.empty()) {
                ADD_FAILURE() << "unexpected message box: " << text;
                return (flags & plat::kMbTypeMask) == plat::kMbYesNo ? plat::kIdNo : plat::kIdCancel;
            }
            const int answer = m_answers.front();
            m_answers.erase(m_answers.begin());
            return answer;
        });
        m_dlg = std::make_unique<CInstallerDlg>(platform(), *m_host);
    }
    return *m_dlg;
}

HeadlessDialogHost& DialogFixture::host() {
    dlg();
    return *m_host;
}

CInstallerDlg& DialogFixture::Start() {
    m_dlg.reset();
    m_host.reset();
    dlg().OnInitDialog();
    return *m_dlg;
}

CInstallerDlg& DialogFixture::Restart() { return Start(); }

testsupport::SampleDisc DialogFixture::InsertDisc(const testsupport::SampleDiscOptions& options) {
    return testsupport::MakeSampleDisc(m_root.driveFolder('Q'), options);
}

void DialogFixture::EjectDisc() {
    for (const std::string& name : testsupport::ListHostFolder(m_root.driveFolder('Q')))
        testsupport::RemoveHostTree(m_root.driveFolder('Q') + "/" + name);
}

bool DialogFixture::Exists(const std::string& windowsPath) const {
    const std::string host = HostPath(windowsPath);
    return testsupport::HostFileExists(host) || testsupport::HostFolderExists(host);
}

std::map<std::string, std::string> DialogFixture::ReadRecord() {
    return testsupport::ReadInstallRecord(m_real->platform().registry);
}

void DialogFixture::WriteRecord(const std::map<std::string, std::string>& strings,
                                std::optional<unsigned> installKoe) {
    plat::Registry& registry = m_real->platform().registry;
    registry::RegKey key(registry);
    ASSERT_EQ(key.Create(plat::kHkeyCurrentUser, "Software\\Velstra\\Mirel"), plat::kErrorSuccess);
    for (const auto& [name, text] : strings) {
        ASSERT_EQ(registry.SetValue(key.get(), name, plat::kRegSz, reinterpret_cast<const unsigned char*>(text.c_str()),
                                    static_cast<std::uint32_t>(text.size() + 1)),
                  plat::kErrorSuccess);
    }
    if (installKoe) {
        const std::uint32_t value = *installKoe;
        ASSERT_EQ(registry.SetValue(key.get(), "Install KOE", plat::kRegDword,
                                    reinterpret_cast<const unsigned char*>(&value), 4),
                  plat::kErrorSuccess);
    }
}

void DialogFixture::Answer(std::initializer_list<int> answers) {
    m_answers.insert(m_answers.end(), answers.begin(), answers.end());
}

void DialogFixture::Select(int comboId, const std::string& letter) {
    ASSERT_TRUE(testsupport::SelectItem(host(), dlg(), comboId, letter)) << "no drive " << letter << " in " << comboId;
}

void DialogFixture::Click(int id) { testsupport::ClickControl(host(), dlg(), id); }

std::string DialogFixture::ShellFolder(const std::string& name) {
    return testsupport::ReadShellFolder(m_real->platform().registry, name);
}
