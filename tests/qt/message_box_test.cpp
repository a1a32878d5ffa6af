// The core's message box flags become a box with that icon and those buttons, and the
// button pressed comes back as the Windows answer.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "platform/dialog_host.h"
#include "tests/qt/qt_suites.h"
#include "ui/qt/message_box.h"

namespace {

struct Seen {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QMessageBox::StandardButton> buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QString text;
};

// Waits for the box to be up, notes what it shows, then presses `press` (or Escape when
// `press` is NoButton).
void AnswerWhenShown(Seen* seen, QMessageBox::StandardButton press) {
    QTimer::singleShot(10, [seen, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            AnswerWhenShown(seen, press);
            return;
        }
        seen->icon = box->icon();
        seen->text = box->text();
        for (QAbstractButton* button : box->buttons()) seen->buttons << box->standardButton(button);
        seen->defaultButton = box->standardButton(box->defaultButton());
        if (press == QMessageBox::NoButton)
            QTest::keyClick(box, Qt::Key_Escape);
        else
            box->button(press)->click();
    });
}

}  // namespace

void MessageBoxTest::flagsGiveIconAndButtons_data() {
    QTest::addColumn<unsigned>("flags");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QList<int>>("buttons");
    QTest::addColumn<int>("press");
    QTest::addColumn<int>("answer");
    using B = QMessageBox;
    QTest::newRow("success: information, OK") << 0x40u << int(B::Information) << QList<int>{B::Ok} << int(B::Ok)
                                              << plat::kIdOk;
    QTest::newRow("failure: exclamation, OK") << 0x30u << int(B::Warning) << QList<int>{B::Ok} << int(B::Ok)
                                              << plat::kIdOk;
    QTest::newRow("OK box dismissed with Escape") << 0x30u << int(B::Warning) << QList<int>{B::Ok}
                                                  << int(B::NoButton) << plat::kIdOk;
    QTest::newRow("disc prompt answered OK") << 0x31u << int(B::Warning) << QList<int>{B::Ok, B::Cancel} << int(B::Ok)
                                             << plat::kIdOk;
    QTest::newRow("disc prompt cancelled") << 0x31u << int(B::Warning) << QList<int>{B::Ok, B::Cancel}
                                           << int(B::Cancel) << plat::kIdCancel;
    QTest::newRow("disc prompt dismissed with Escape") << 0x31u << int(B::Warning) << QList<int>{B::Ok, B::Cancel}
                                                       << int(B::NoButton) << plat::kIdCancel;
    QTest::newRow("uninstall confirmed") << 0x44u << int(B::Information) << QList<int>{B::Yes, B::No} << int(B::Yes)
                                         << plat::kIdYes;
    QTest::newRow("uninstall declined") << 0x44u << int(B::Information) << QList<int>{B::Yes, B::No} << int(B::No)
                                        << plat::kIdNo;
    QTest::newRow("uninstall dismissed with Escape") << 0x44u << int(B::Information) << QList<int>{B::Yes, B::No}
                                                     << int(B::NoButton) << plat::kIdNo;
}

void MessageBoxTest::flagsGiveIconAndButtons() {
    QFETCH(unsigned, flags);
    QFETCH(int, icon);
    QFETCH(QList<int>, buttons);
    QFETCH(int, press);
    QFETCH(int, answer);

    Seen seen;
    AnswerWhenShown(&seen, static_cast<QMessageBox::StandardButton>(press));
    const QString text = QString::fromUtf8("ハルネアの\nインストールが終了しました。");
    QCOMPARE(qtui::ShowMessageBox(nullptr, QStringLiteral("caption"), text, flags), answer);

    QCOMPARE(int(seen.icon), icon);
    QCOMPARE(seen.text, text);
    QList<int> shown;
    for (QMessageBox::StandardButton button : seen.buttons) shown << int(button);
    std::sort(shown.begin(), shown.end());
    std::sort(buttons.begin(), buttons.end());
    QCOMPARE(shown, buttons);
    // The first button is the default, as in a Windows message box.
    QCOMPARE(int(seen.defaultButton), (flags & 0x0F) == plat::kMbYesNo ? int(QMessageBox::Yes) : int(QMessageBox::Ok));
}
