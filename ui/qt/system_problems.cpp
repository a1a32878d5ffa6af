#include "ui/qt/system_problems.h"

#include <QMessageBox>
#include <QStringList>

namespace qtui {

void ShowSystemProblems(const QString& caption, const std::vector<std::string>& problems) {
    QStringList lines;
    for (const std::string& problem : problems) lines << QString::fromStdString(problem);
    QMessageBox box(QMessageBox::Warning, caption,
                    QStringLiteral("Some of the installer's system files could not be used. "
                                   "What they describe is left out until they are mended."),
                    QMessageBox::Ok);
    box.setInformativeText(lines.join(QLatin1Char('\n')));
    box.exec();
}

}  // namespace qtui
