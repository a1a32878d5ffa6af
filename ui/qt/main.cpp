// mirel-setup: the installer's Linux executable. The system it installs into is the
// player's Wine prefix, or with --sandbox [ROOT] (or $MIREL_SETUP_ROOT set) the POSIX
// platform's sandbox.
#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "frontend/installer_app.h"
#include "frontend/run_journal.h"
#include "platform/journal/journal_log_file.h"
#include "platform/journal/journal_places.h"
#include "platform/posix/posix_platform.h"
#include "platform/posix/system_choice.h"
#include "res/resource_tables.h"
#include "ui/qt/dialog_layout.h"
#include "ui/qt/geometry_report.h"
#include "ui/qt/qt_dialog_host.h"
#include "ui/qt/system_problems.h"
#include "ui/qt/wine_prefix_offer.h"

int main(int argc, char* argv[]) {
    // Answered before Qt starts, so that it needs no display.
    if (std::find_if(argv + 1, argv + argc, [](const char* arg) { return std::string(arg) == "--help"; }) != argv + argc) {
        std::cout << "usage: mirel-setup [--wine-prefix [DIR] | --sandbox [ROOT]] [--disc IMAGE]...\nInstalls or uninstalls the game from its disc.\n"
                  << posixplat::SystemChoiceUsage();
        return 0;
    }
    QApplication application(argc, argv);
    QApplication::setWindowIcon(QIcon(qtui::IconResourcePath(IDR_MAINFRAME)));
    const QString caption = QString::fromUtf8(res::MainDialogTemplate().caption);

    std::vector<std::string> args;
    for (const QString& argument : QCoreApplication::arguments().mid(1)) args.push_back(argument.toStdString());
    posixplat::SystemChoice choice;
    std::string error;
    if (!posixplat::TakeSystemChoice(&args, &choice, &error) || !args.empty()) {
        std::cerr << "mirel-setup: " << (error.empty() ? "unknown argument " + args.front() : error) << '\n';
        return 2;
    }

    choice = posixplat::ResolveSystemChoice(choice);
    if (posixplat::IsMissingWinePrefix(choice) && !qtui::OfferToMakeWinePrefix(caption, choice.dir)) {
        std::cerr << "mirel-setup: there is no Wine prefix at " << choice.dir << '\n';
        return 1;
    }

    std::string opened;
    std::unique_ptr<posixplat::PosixPlatform> system = posixplat::OpenChosenSystem(choice, &opened, &error);
    if (!system) {
        std::cerr << "mirel-setup: " << error << '\n';
        QMessageBox::critical(nullptr, caption, QString::fromStdString(error));
        return 1;
    }
    std::cout << opened << std::endl;
    for (const std::string& note : system->Notes()) std::cout << note << std::endl;
    for (const std::string& warning : system->Warnings()) {
        QMessageBox::warning(nullptr, caption, QString::fromStdString(warning));
    }
    if (const std::vector<std::string> problems = system->Problems(); !problems.empty()) {
        qtui::ShowSystemProblems(caption, problems);
    }

    // The install journal, beside the system it describes.
    journal::LogFile journalFile(system->JournalPath());
    RunJournal runJournal(system->platform(), journalFile, "Linux, Qt");
    runJournal.SetSystemNotes(system->Notes());
    runJournal.SetRunNotes([&system] {
        std::vector<std::string> said = system->TakeRunNotes();
        for (const std::string& note : said) std::cerr << "mirel-setup: " << note << '\n';
        return said;
    });

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
