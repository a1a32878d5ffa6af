// mirel-setup: the installer's Linux executable. Takes no arguments; the system it
// installs into is the POSIX platform's root ($MIREL_SETUP_ROOT or the user's data folder).
#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <string>

#include "app/control_ids.h"
#include "app/installer_app.h"
#include "app/run_journal.h"
#include "platform/journal/journal_log_file.h"
#include "platform/journal/journal_places.h"
#include "platform/posix/posix_platform.h"
#include "res/resource_tables.h"
#include "ui/qt/dialog_layout.h"
#include "ui/qt/geometry_report.h"
#include "ui/qt/qt_dialog_host.h"
#include "ui/qt/system_problems.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setWindowIcon(QIcon(qtui::IconResourcePath(IDR_MAINFRAME)));
    const QString caption = QString::fromUtf8(res::MainDialogTemplate().caption);

    std::string error;
    std::unique_ptr<posixplat::PosixPlatform> system =
        posixplat::PosixPlatform::Open(posixplat::DefaultSystemRoot(), &error);
    if (!system) {
        QMessageBox::critical(nullptr, caption, QString::fromStdString(error));
        return 1;
    }
    if (const std::vector<std::string> problems = system->Problems(); !problems.empty()) {
        qtui::ShowSystemProblems(caption, problems);
    }

    // The install journal, beside the system it describes.
    journal::LogFile journalFile(system->root() + "/" + journal::kSandboxJournalName);
    RunJournal runJournal(system->platform(), journalFile, "Linux, Qt");

    qtui::QtDialogHost host;
    const std::unique_ptr<plat::DialogHost> watchedHost = runJournal.Watch(host);
    CInstallerApp app;
    app.InitInstance(runJournal.platform(), *watchedHost, [&](CInstallerDlg& dialog) {
        host.SetCommandSink([&](int id, int code) { runJournal.Route(dialog, id, code); });
        dialog.OnInitDialog();
        qtui::ReportGeometryWhenShown(host.Window());
        const int result = host.RunModal();
        host.SetCommandSink(nullptr);
        return result;
    });
    return 0;
}
