#include "tests/core/dialog_fixture.h"

#include <cstring>

#include "registry/reg_key.h"

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
    std::map<std::string, std::string> values;
    plat::Registry& registry = m_real->platform().registry;
    registry::RegKey key(registry);
    if (key.Open(plat::kHkeyCurrentUser, "Software\\Velstra\\Mirel", plat::kKeyRead) != plat::kErrorSuccess)
        return values;
    for (std::uint32_t index = 0;; ++index) {
        char name[260];
        std::uint32_t nameSize = sizeof name;
        if (registry.EnumValue(key.get(), index, name, &nameSize) != plat::kErrorSuccess) break;
        unsigned char data[1024];
        std::uint32_t size = sizeof data;
        std::uint32_t type = 0;
        if (registry.QueryValue(key.get(), std::string(name, nameSize), &type, data, &size) != plat::kErrorSuccess)
            continue;
        if (type == plat::kRegDword && size == 4) {
            std::uint32_t value;
            std::memcpy(&value, data, 4);
            values[std::string(name, nameSize)] = "dword:" + std::to_string(value);
        } else {
            std::string text(reinterpret_cast<const char*>(data), size);
            if (!text.empty() && text.back() == '\0') text.pop_back();
            values[std::string(name, nameSize)] = text;
        }
    }
    return values;
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
    const int index = host().FindStringExact(comboId, letter);
    ASSERT_NE(index, plat::kComboNone) << "no drive " << letter << " in " << comboId;
    host().SetCurSel(comboId, index);
    dlg().OnCommand(comboId, CBN_SELCHANGE);
}

void DialogFixture::Click(int id) {
    if (!host().IsEnabled(id)) return;
    if (id >= IDC_MODE_MIN && id <= IDC_MODE_FULL) {
        for (int radio = IDC_MODE_MIN; radio <= IDC_MODE_FULL; ++radio) host().SetCheck(radio, radio == id);
    } else if (id == IDC_SHORTCUT_PROGRAMS || id == IDC_SHORTCUT_DESKTOP || id == IDC_KEEP_SAVEDATA) {
        host().SetCheck(id, !host().GetCheck(id));
    }
    dlg().OnCommand(id, BN_CLICKED);
}

std::string DialogFixture::ShellFolder(const std::string& name) {
    plat::Registry& registry = m_real->platform().registry;
    registry::RegKey key(registry);
    if (key.Open(plat::kHkeyCurrentUser, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                 plat::kKeyRead) != plat::kErrorSuccess)
        return {};
    unsigned char data[512];
    std::uint32_t size = sizeof data, type = 0;
    if (registry.QueryValue(key.get(), name, &type, data, &size) != plat::kErrorSuccess) return {};
    std::string text(reinterpret_cast<const char*>(data), size);
    if (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}
