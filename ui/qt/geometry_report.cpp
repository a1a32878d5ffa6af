#include "ui/qt/geometry_report.h"

#include <QSaveFile>
#include <QTextStream>
#include <QTimer>

#include "ui/qt/installer_window.h"

namespace qtui {

bool WriteGeometryReport(InstallerWindow& window, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) return false;
    QTextStream out(&file);
    out << "window " << static_cast<qulonglong>(window.winId()) << '\n';
    out << "client " << window.width() << ' ' << window.height() << '\n';
    for (const LaidOutControl& control : window.Layout().controls) {
        if (control.source->id == -1) continue;
        const QRect rect = control.widget->geometry();
        out << control.source->id << ' ' << rect.x() << ' ' << rect.y() << ' ' << rect.width() << ' '
            << rect.height() << '\n';
    }
    out.flush();
    return file.commit();
}

void ReportGeometryWhenShown(InstallerWindow& window) {
    const QString path = qEnvironmentVariable(kGeometryFileVariable);
    if (path.isEmpty()) return;
    // Queued before the modal loop starts, so it runs once the window has been shown.
    QTimer::singleShot(0, &window, [&window, path] { WriteGeometryReport(window, path); });
}

}  // namespace qtui
