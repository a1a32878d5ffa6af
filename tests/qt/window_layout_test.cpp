// The window is dialog 102: texts, positions and styles come from the template, in pixels
// from the dialog font's base units.
#include <QFontInfo>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QProgressBar>
#include <QTest>

#include "res/resource_tables.h"
#include "tests/qt/qt_suites.h"
#include "ui/qt/dialog_units.h"
#include "ui/qt/picture_view.h"
#include "ui/qt/qt_dialog_host.h"

namespace {

using res::ControlKind;

bool OneLine(const res::ControlTemplate& control) { return std::string(control.text).find('\n') == std::string::npos; }

}  // namespace

void WindowLayoutTest::conversionIsWindowsArithmetic_data() {
    QTest::addColumn<int>("baseX");
    QTest::addColumn<int>("baseY");
    QTest::addColumn<QRect>("units");
    QTest::addColumn<QRect>("pixels");
    // IPAPGothic 9 pt at 96 dpi gives 7 x 13; the Windows face 6 x 12.
    QTest::newRow("picture, 7x13") << 7 << 13 << QRect(7, 7, 263, 320) << QRect(12, 11, 460, 520);
    QTest::newRow("picture, 6x12") << 6 << 12 << QRect(7, 7, 263, 320) << QRect(11, 11, 395, 480);
    QTest::newRow("install button, 6x12") << 6 << 12 << QRect(391, 208, 50, 14) << QRect(587, 312, 75, 21);
    // Halves round up: 1 * 6 / 4 = 1.5, 3 * 13 / 8 = 4.875, 5 * 7 / 4 = 8.75.
    QTest::newRow("rounding") << 6 << 13 << QRect(1, 3, 5, 4) << QRect(2, 5, 8, 7);
    QTest::newRow("rounding, 7 wide") << 7 << 13 << QRect(5, 4, 2, 1) << QRect(9, 7, 4, 2);
}

void WindowLayoutTest::conversionIsWindowsArithmetic() {
    QFETCH(int, baseX);
    QFETCH(int, baseY);
    QFETCH(QRect, units);
    QFETCH(QRect, pixels);
    const QRect mapped = qtui::MapDialogRect({baseX, baseY}, units.x(), units.y(), units.width(), units.height());
    QCOMPARE(mapped, pixels);
}

void WindowLayoutTest::mulDivRoundsHalfAwayFromZero() {
    QCOMPARE(qtui::MulDiv(1, 6, 4), 2);
    QCOMPARE(qtui::MulDiv(-1, 6, 4), -2);
    QCOMPARE(qtui::MulDiv(3, 7, 4), 5);
    QCOMPARE(qtui::MulDiv(-3, 7, 4), -5);
    QCOMPARE(qtui::MulDiv(458, 7, -4), -802);
    QCOMPARE(qtui::MulDiv(5, 7, 0), -1);
    // No overflow in the product.
    QCOMPARE(qtui::MulDiv(1 << 20, 1 << 20, 1 << 20), 1 << 20);
}

void WindowLayoutTest::baseUnitsOfTheStandInFont() {
    const res::DialogTemplate& dialog = res::MainDialogTemplate();
    const QFont font = qtui::DialogFont(dialog.fontName, dialog.fontPoints);
    if (QFontInfo(font).family() != QStringLiteral("IPAPGothic"))
        QSKIP("IPAPGothic is not the font in use (fonts-ipafont-gothic missing?)");
    qtui::QtDialogHost host;
    if (host.Window().logicalDpiY() != 96) QSKIP("the screen is not at 96 dpi");
    // 26 letters each way measure 369 pixels: (369 / 26 + 1) / 2 = 7; ascent 11 + descent 2.
    QCOMPARE(host.Window().Layout().units.x, 7);
    QCOMPARE(host.Window().Layout().units.y, 13);
    QCOMPARE(host.Window().size(), QSize(802, 544));
}

void WindowLayoutTest::controlsCarryTheTemplateTexts() {
    const res::DialogTemplate& dialog = res::MainDialogTemplate();
    qtui::QtDialogHost host;
    QCOMPARE(host.Window().windowTitle(), QString::fromUtf8(dialog.caption));
    int checked = 0;
    for (std::size_t i = 0; i < dialog.controlCount; ++i) {
        const res::ControlTemplate& control = dialog.controls[i];
        if (control.id == -1 || control.kind == ControlKind::Combo || control.kind == ControlKind::Progress) continue;
        QVERIFY2(host.Window().Control(control.id), qPrintable(QStringLiteral("no control %1").arg(control.id)));
        QCOMPARE(QString::fromStdString(host.GetText(control.id)), QString::fromUtf8(control.text));
        ++checked;
    }
    QCOMPARE(checked, 18);
    // The welcome text has no id but is on the window, four lines of it.
    bool welcome = false;
    for (const qtui::LaidOutControl& control : host.Window().Layout().controls) {
        auto* label = qobject_cast<QLabel*>(control.widget);
        if (label && control.source->id == -1 && label->text().count(QLatin1Char('\n')) == 3) welcome = true;
    }
    QVERIFY(welcome);
}

void WindowLayoutTest::controlsSitWhereTheTemplatePutsThem() {
    const res::DialogTemplate& dialog = res::MainDialogTemplate();
    qtui::QtDialogHost host;
    const qtui::DialogLayout& layout = host.Window().Layout();
    QCOMPARE(layout.controls.size(), dialog.controlCount);
    QCOMPARE(host.Window().size(), qtui::MapDialogRect(layout.units, 0, 0, dialog.width, dialog.height).size());
    for (const qtui::LaidOutControl& control : layout.controls) {
        const res::ControlTemplate& t = *control.source;
        const QRect expected = qtui::MapDialogRect(layout.units, t.x, t.y, t.width, t.height);
        const QRect actual = control.widget->geometry();
        const QString what = QStringLiteral("control %1 at %2,%3").arg(t.id).arg(t.x).arg(t.y);
        QVERIFY2(actual.topLeft() == expected.topLeft(), qPrintable(what));
        // Only a text the stand-in font makes too wide grows, and only to the right.
        QVERIFY2(actual.width() >= expected.width(), qPrintable(what));
        if (!OneLine(t) || t.kind == ControlKind::Picture || t.kind == ControlKind::GroupBox ||
            t.kind == ControlKind::Combo || t.kind == ControlKind::PushButton || t.kind == ControlKind::Progress)
            QVERIFY2(actual.width() == expected.width(), qPrintable(what));
        // A combo box's template height is its dropped list; closed it is one line high.
        if (t.kind == ControlKind::Combo)
            QVERIFY2(actual.height() < expected.height() && actual.height() >= layout.units.y, qPrintable(what));
        else
            QVERIFY2(actual.height() == expected.height(), qPrintable(what));
    }
}

void WindowLayoutTest::controlsStayInsideTheirFramesAndApart() {
    qtui::QtDialogHost host;
    const qtui::DialogLayout& layout = host.Window().Layout();
    const QRect client(QPoint(0, 0), host.Window().size());
    std::vector<const qtui::LaidOutControl*> groups;
    for (const qtui::LaidOutControl& control : layout.controls) {
        if (control.source->kind == ControlKind::GroupBox) groups.push_back(&control);
    }
    QCOMPARE(groups.size(), std::size_t{2});
    for (const qtui::LaidOutControl& control : layout.controls) {
        const QRect rect = control.widget->geometry();
        const QString what = QStringLiteral("control %1").arg(control.source->id);
        QVERIFY2(client.contains(rect), qPrintable(what));
        if (control.source->kind == ControlKind::GroupBox) continue;
        // In the template a control inside a group box frame stays inside it in pixels.
        for (const qtui::LaidOutControl* group : groups) {
            const res::ControlTemplate& g = *group->source;
            const res::ControlTemplate& c = *control.source;
            const bool insideInTemplate = c.x >= g.x && c.y >= g.y && c.x + c.width <= g.x + g.width &&
                                          c.y + (c.kind == ControlKind::Combo ? 12 : c.height) <= g.y + g.height;
            if (insideInTemplate)
                QVERIFY2(group->widget->geometry().contains(rect), qPrintable(what + " leaves its frame"));
        }
        for (const qtui::LaidOutControl& other : layout.controls) {
            if (&other == &control || other.source->kind == ControlKind::GroupBox) continue;
            QVERIFY2(!rect.intersects(other.widget->geometry()),
                     qPrintable(what + QStringLiteral(" overlaps %1").arg(other.source->id)));
        }
    }
    // The picture fills the left half, the controls the right.
    const QWidget* picture = layout.controls.front().widget;
    QCOMPARE(layout.controls.front().source->kind, ControlKind::Picture);
    for (const qtui::LaidOutControl* group : groups)
        QVERIFY(picture->geometry().right() < group->widget->geometry().left());
    QVERIFY(picture->width() > host.Window().width() / 2 - host.Window().width() / 10);
}

void WindowLayoutTest::oneLineTextsShowWhole() {
    qtui::QtDialogHost host;
    for (const qtui::LaidOutControl& control : host.Window().Layout().controls) {
        const res::ControlTemplate& t = *control.source;
        const QString what = QStringLiteral("control %1").arg(t.id);
        if (t.kind == ControlKind::LText && OneLine(t)) {
            auto* label = qobject_cast<QLabel*>(control.widget);
            QVERIFY(label);
            // Wrapped, its second line would fall under the control below.
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(), qPrintable(what));
        } else if (t.kind == ControlKind::Check || t.kind == ControlKind::Radio) {
            QVERIFY2(control.widget->sizeHint().width() <= control.widget->width(), qPrintable(what));
        } else if (t.kind == ControlKind::PushButton) {
            const int text = control.widget->fontMetrics().horizontalAdvance(QString::fromUtf8(t.text));
            QVERIFY2(text < control.widget->width(), qPrintable(what));
        }
    }
}

void WindowLayoutTest::stylesFollowTheTemplate() {
    qtui::QtDialogHost host;
    auto* bar = qobject_cast<QProgressBar*>(host.Window().Control(1011));
    QVERIFY(bar);
    QVERIFY(bar->isHidden());
    QVERIFY(!bar->isTextVisible());
    QVERIFY(!host.IsVisible(1011));
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 100);
    QVERIFY(qobject_cast<QGroupBox*>(host.Window().Control(1012)));
    QVERIFY(qobject_cast<QGroupBox*>(host.Window().Control(1017)));
    auto* freeCaption = qobject_cast<QLabel*>(host.Window().Control(1015));
    QVERIFY(freeCaption && (freeCaption->alignment() & Qt::AlignRight));
    auto* freeValue = qobject_cast<QLabel*>(host.Window().Control(1002));
    QVERIFY(freeValue && (freeValue->alignment() & Qt::AlignLeft));
    // No push button is the default: Enter away from the buttons is the dialog's OK.
    for (int id : {1009, 1010, 2}) {
        auto* button = qobject_cast<QPushButton*>(host.Window().Control(id));
        QVERIFY(button);
        QVERIFY(!button->isDefault() && !button->autoDefault());
    }
}

void WindowLayoutTest::artIsBuiltIn() {
    qtui::QtDialogHost host;
    auto* picture = dynamic_cast<qtui::PictureView*>(host.Window().Layout().controls.front().widget);
    QVERIFY(picture);
    QCOMPARE(picture->pixmap().size(), QSize(460, 520));
    // Not a blank bitmap: the top is night sky, the middle carries the white title.
    const QImage image = picture->pixmap().toImage();
    QVERIFY(qGray(image.pixel(230, 10)) < 80);
    int white = 0;
    for (int x = 60; x < 400; ++x) white += qGray(image.pixel(x, 160)) > 240 ? 1 : 0;
    QVERIFY(white > 20);
    const QList<QSize> sizes = host.Window().windowIcon().availableSizes();
    for (int size : {16, 32, 48, 256}) QVERIFY2(sizes.contains(QSize(size, size)), qPrintable(QString::number(size)));
}
