#pragma once
// The product's Linux window over a throw-away system: C: fixed and Q: a CD-ROM drive,
// the real POSIX platform, the Qt dialog host and the dialog, started the way
// mirel-setup starts them and shown offscreen.
#include <QWidget>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "app/installer_dlg.h"
#include "platform/posix/posix_platform.h"
#include "tests/qt/answering_host.h"
#include "tests/support/fixtures/sample_disc.h"
#include "tests/support/fixtures/temp_system_root.h"
#include "ui/qt/qt_dialog_host.h"

class InstallerUnderTest {
public:
    InstallerUnderTest();
    ~InstallerUnderTest();

    // Puts the sample disc, its data below Tazmel\, into drive Q.
    testsupport::SampleDisc InsertDisc();
    // Writes the install record as an earlier installer would have; a missing "Install
    // KOE" when `installKoe` is empty.
    void WriteRecord(const std::string& path, const std::string& cdPath, const std::string& setupMode,
                     std::optional<unsigned> installKoe);
    // The record's string values and "Install KOE" as "dword:N"; empty when absent.
    std::map<std::string, std::string> ReadRecord();

    // Builds the window and the dialog, runs the start-up and shows the window.
    void Start();

    qtui::QtDialogHost& host() { return *m_host; }
    // The host the dialog is given: the window's, with the test answering message boxes.
    AnsweringHost& answers() { return *m_answers; }
    qtui::InstallerWindow& window() { return m_host->Window(); }
    CInstallerDlg& dlg() { return *m_dlg; }
    template <class Widget>
    Widget* control(int id) {
        return qobject_cast<Widget*>(m_host->Window().Control(id));
    }

    std::string HostPath(const std::string& windowsPath) const { return m_root.hostPath(windowsPath); }

private:
    testsupport::TempSystemRoot m_root;
    std::unique_ptr<posixplat::PosixPlatform> m_system;
    std::unique_ptr<qtui::QtDialogHost> m_host;
    std::unique_ptr<AnsweringHost> m_answers;
    std::unique_ptr<CInstallerDlg> m_dlg;
};
