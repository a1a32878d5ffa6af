#pragma once
// A whole installer over a throw-away system: C: fixed and Q: a CD-ROM drive (empty
// until a test puts a disc there), the real Linux platform wrapped in the fault
// injector, the headless host and the dialog. Restart() is the next start of the
// program on the same system.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "host/headless_dialog_host.h"
#include "app/installer_dlg.h"
#include "tests/support/string_override.h"
#include "platform/fault/fault_platform.h"
#include "tests/support/fixtures/host_files.h"
#include "tests/support/fixtures/root_platform.h"
#include "tests/support/fixtures/sample_disc.h"
#include "tests/support/fixtures/temp_system_root.h"

class DialogFixture : public testing::Test {
protected:
    DialogFixture();

    // The dialog of the current start, constructed on first use (not yet started up).
    CInstallerDlg& dlg();
    HeadlessDialogHost& host();
    // Starts the program: a new host and dialog, and OnInitDialog.
    CInstallerDlg& Start();
    // The next start of the program on the same system.
    CInstallerDlg& Restart();

    StringOverride& strings() { return *m_strings; }
    faultplat::FaultPlan& faults() { return m_faults->plan(); }
    const faultplat::FaultCounters& counters() { return m_faults->counters(); }
    plat::Platform& platform() { return m_faults->platform(); }

    // Puts the sample disc into drive Q.
    testsupport::SampleDisc InsertDisc(const testsupport::SampleDiscOptions& options = {});
    // Takes it out again.
    void EjectDisc();

    std::string HostPath(const std::string& windowsPath) const { return m_root.hostPath(windowsPath); }
    bool Exists(const std::string& windowsPath) const;

    // Values of the install record, as strings ("dword:N" for a REG_DWORD); empty when
    // the record key is absent.
    std::map<std::string, std::string> ReadRecord();
    // A shell folder of the current user ("Desktop", "Programs") as the registry holds it.
    std::string ShellFolder(const std::string& name);
    // Writes the install record directly, as an earlier installer would have.
    void WriteRecord(const std::map<std::string, std::string>& strings, std::optional<unsigned> installKoe);

    // Answers for the next message boxes, in order; a box with none left fails the test.
    void Answer(std::initializer_list<int> answers);
    // Selects drive `letter` in a combo box and delivers the change, as a user would.
    void Select(int comboId, const std::string& letter);
    // A user's click on a radio button, check box or push button.
    void Click(int id);

    testsupport::TempSystemRoot m_root;

private:
    std::unique_ptr<testsupport::RootPlatform> m_real;
    std::unique_ptr<StringOverride> m_strings;
    std::unique_ptr<plat::Platform> m_textPlatform;
    std::unique_ptr<faultplat::FaultPlatform> m_faults;
    std::unique_ptr<HeadlessDialogHost> m_host;
    std::unique_ptr<CInstallerDlg> m_dlg;
    std::vector<int> m_answers;
};

inline const std::string kInstallDir = "C:\\Program Files\\Velstra\\Mirel";
