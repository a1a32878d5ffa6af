#pragma once
// One throw-away system for one run of a sweep: C: a fixed disk with the user's shell
// folders made as on a real system, Q: a CD-ROM drive holding a small flat game disc,
// the real Linux platform wrapped in the fault platform, and the installer's dialog on
// the headless host. The user it stands for wants to get on: OK to the first disc prompt
// and Cancel to any after it (a fault that stays would prompt for ever), Yes to the
// uninstall question, OK to every message.
#include <memory>
#include <string>

#include "host/headless_dialog_host.h"
#include "app/installer_dlg.h"
#include "platform/fault/fault_platform.h"
#include "tests/support/fixtures/root_platform.h"
#include "tests/support/fixtures/sample_disc.h"
#include "tests/support/fixtures/temp_system_root.h"

inline constexpr const char* kInstallDir = "C:\\Program Files\\Velstra\\Mirel";
inline constexpr const char* kInstalledMessage = "ハルネアの\nインストールが終了しました。";
inline constexpr const char* kFailedMessage = "エラーのため、インストールを中断しました。";
inline constexpr const char* kUninstalledMessage = "アンインストールが完了しました。";

class SweepSystem {
public:
    SweepSystem();

    faultplat::FaultPlatform& faults() { return *m_faults; }
    // The registry as it is, past the faults.
    plat::Registry& registry() { return m_real->platform().registry; }
    const std::string& root() const { return m_root.root(); }
    std::string discFolder() const { return m_root.driveFolder('Q'); }
    // The host path of a Windows path, and the same relative to the root.
    std::string HostPath(const std::string& windowsPath) const { return m_root.hostPath(windowsPath); }
    std::string RootRelative(const std::string& windowsPath) const;
    // The two shortcut files, as Windows paths.
    const std::string& programsLink() const { return m_programsLink; }
    const std::string& desktopLink() const { return m_desktopLink; }

    // A start of the program: a new host and dialog, started up.
    CInstallerDlg& Start();
    CInstallerDlg& dlg() { return *m_dlg; }
    HeadlessDialogHost& host() { return *m_host; }
    void Click(int id);
    // After Start on a fresh system: source Q, destination C, full mode, both shortcuts.
    void ChooseFullInstallWithBothShortcuts();
    // The text of the last message box; empty when there was none.
    std::string LastMessage() const;
    // Disc prompts shown since the last start.
    int discPrompts() const { return m_discPrompts; }

private:
    testsupport::TempSystemRoot m_root;
    std::unique_ptr<testsupport::RootPlatform> m_real;
    std::unique_ptr<faultplat::FaultPlatform> m_faults;
    std::unique_ptr<HeadlessDialogHost> m_host;
    std::unique_ptr<CInstallerDlg> m_dlg;
    std::string m_programsLink;
    std::string m_desktopLink;
    int m_discPrompts = 0;
};

// The disc every run installs: the program files and every data set, flat (an
// uninstall removes a flat data folder whole) and small.
testsupport::SampleDiscOptions SweepDiscOptions();
