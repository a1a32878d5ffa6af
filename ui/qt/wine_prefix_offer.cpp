#include "ui/qt/wine_prefix_offer.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

namespace qtui {
namespace {

// Runs a Wine tool in the prefix to its end; false with what went wrong.
bool RunInPrefix(const QString& program, const QStringList& arguments, const QString& prefix, QString* error) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("WINEPREFIX"), prefix);
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, arguments);
    // Making a prefix takes Wine a while; nothing else is on the screen meanwhile.
    if (!process.waitForStarted() || !process.waitForFinished(-1)) {
        *error = program + QStringLiteral(": ") + process.errorString();
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        *error = program + QStringLiteral(" ended with status %1").arg(process.exitCode());
        return false;
    }
    return true;
}

}  // namespace

bool OfferToMakeWinePrefix(const QString& caption, const std::string& dir) {
    const QString prefix = QString::fromStdString(dir);
    const QString wineboot = QStandardPaths::findExecutable(QStringLiteral("wineboot"));
    const QString wineserver = QStandardPaths::findExecutable(QStringLiteral("wineserver"));
    if (wineboot.isEmpty() || wineserver.isEmpty()) {
        QMessageBox::critical(nullptr, caption,
                              QStringLiteral("The game runs under Wine, and there is no Wine prefix at %1 yet. "
                                             "Wine is not installed: no wineboot or wineserver was found in "
                                             "PATH (%2). Install it (on Debian: sudo apt install wine) and "
                                             "start the installer again.")
                                  .arg(prefix, qEnvironmentVariable("PATH")));
        return false;
    }
    const QMessageBox::StandardButton answer = QMessageBox::question(
        nullptr, caption,
        QStringLiteral("The game runs under Wine, in a Wine prefix, and there is none at %1 yet. "
                       "Make it now with Wine's own \"wineboot --init\"? This takes a minute.")
            .arg(prefix),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes) return false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString error;
    // wineboot leaves its server running for a few seconds; until it ends the prefix's
    // registry is not ours to change.
    const bool made = RunInPrefix(wineboot, {QStringLiteral("--init")}, prefix, &error) &&
                      RunInPrefix(wineserver, {QStringLiteral("-w")}, prefix, &error);
    QApplication::restoreOverrideCursor();
    if (!made) {
        QMessageBox::critical(nullptr, caption, QStringLiteral("Wine could not make the prefix %1: %2").arg(prefix, error));
    }
    return made;
}

}  // namespace qtui
