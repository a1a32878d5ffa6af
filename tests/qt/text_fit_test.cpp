// No text of the window is cut at the display scale this run is given (QT_SCALE_FACTOR;
// the tests run it at 1, 1.5 and 2): with hinting off at fractional scales and glyphs
// rounded otherwise, a text that just fits at one scale can lose its end at another.
// Each text is measured as its widget draws it: a static text wrapped where it wraps,
// against its contents rectangle; a check box or radio button on one line, against the
// label area its style gives it beside the indicator. The texts are the ones a user
// sees: after the start-up and with C: chosen, so the sizes and free space are in.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <climits>

#include "app/control_ids.h"
#include "tests/qt/installer_under_test.h"

namespace {

QString Describe(const res::ControlTemplate& control, const QString& text, QSize needed, QSize has) {
    return QStringLiteral("control %1 \"%2\" needs %3x%4, has %5x%6")
        .arg(control.id)
        .arg(text)
        .arg(needed.width())
        .arg(needed.height())
        .arg(has.width())
        .arg(has.height());
}

// QLabel draws a plain text with its alignment, wrapped when word wrap is on, in its
// contents rectangle.
QString LabelFault(const res::ControlTemplate& control, const QLabel& label) {
    const QRect area = label.contentsRect();
    const int flags = static_cast<int>(label.alignment()) | (label.wordWrap() ? Qt::TextWordWrap : 0);
    const QSize needed = label.fontMetrics().boundingRect(QRect(0, 0, area.width(), INT_MAX / 2), flags, label.text()).size();
    if (needed.width() <= area.width() && needed.height() <= area.height()) return {};
    return Describe(control, label.text(), needed, area.size());
}

// The style draws the label of a check box or radio button on one line in its contents
// sub-element.
QString ButtonFault(const res::ControlTemplate& control, const QAbstractButton& button, QStyle::SubElement contents) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    option.icon = button.icon();
    option.iconSize = button.iconSize();
    const QRect area = button.style()->subElementRect(contents, &option, &button);
    const QSize needed = button.fontMetrics().size(Qt::TextShowMnemonic, button.text());
    if (needed.width() <= area.width() && needed.height() <= area.height()) return {};
    return Describe(control, button.text(), needed, area.size());
}

}  // namespace

class TextFitTest : public QObject {
    Q_OBJECT
private slots:
    void textsFitAtThisScale();
};

void TextFitTest::textsFitAtThisScale() {
    InstallerUnderTest installer;
    installer.Start();
    QTest::keyClicks(installer.control<QComboBox>(IDC_DEST_DRIVE), "C");
    QCOMPARE(installer.control<QComboBox>(IDC_DEST_DRIVE)->currentText(), QStringLiteral("C"));
    QVERIFY(installer.host().GetText(IDC_FREE_SPACE) != "-- GB");

    // The run is at the scale it was given, or it proves nothing about that scale.
    const double scale = qEnvironmentVariableIsSet("QT_SCALE_FACTOR") ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble() : 1.0;
    QCOMPARE(installer.window().devicePixelRatio(), scale);
    qInfo("scale %.2f, window %dx%d, base units %dx%d", scale, installer.window().width(), installer.window().height(),
          installer.window().Layout().units.x, installer.window().Layout().units.y);

    QStringList faults;
    int measured = 0;
    for (const qtui::LaidOutControl& control : installer.window().Layout().controls) {
        QString fault;
        switch (control.source->kind) {
        case res::ControlKind::LText:
        case res::ControlKind::RText:
            fault = LabelFault(*control.source, *qobject_cast<QLabel*>(control.widget));
            break;
        case res::ControlKind::Check:
            fault = ButtonFault(*control.source, *qobject_cast<QCheckBox*>(control.widget), QStyle::SE_CheckBoxContents);
            break;
        case res::ControlKind::Radio:
            fault = ButtonFault(*control.source, *qobject_cast<QRadioButton*>(control.widget),
                                QStyle::SE_RadioButtonContents);
            break;
        default:
            continue;
        }
        ++measured;
        if (!fault.isEmpty()) faults << fault;
    }
    // Every static text, check box and radio button of dialog 102.
    QCOMPARE(measured, 14);
    QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("clipped at scale %1:\n").arg(scale) + faults.join('\n')));
}

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    TextFitTest suite;
    return QTest::qExec(&suite, argc, argv);
}

#include "text_fit_test.moc"
