#include "ui/qt/message_box.h"

#include <QIcon>
#include <QMessageBox>
#include <QPushButton>

#include "platform/dialog_host.h"

namespace qtui {
namespace {

QMessageBox::Icon IconOf(unsigned flags) {
    switch (flags & plat::kMbIconMask) {
    case plat::kMbIconExclamation:
        return QMessageBox::Warning;
    case plat::kMbIconInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

QString ButtonCaption(QMessageBox::StandardButton button) {
    switch (button) {
    case QMessageBox::Cancel:
        return QStringLiteral("キャンセル");
    case QMessageBox::Yes:
        return QStringLiteral("はい(&Y)");
    case QMessageBox::No:
        return QStringLiteral("いいえ(&N)");
    default:
        return QStringLiteral("OK");
    }
}

}  // namespace

int ShowMessageBox(QWidget* parent, const QString& caption, const QString& text, unsigned flags) {
    QMessageBox box(IconOf(flags), caption, text, QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);

    // The first button is the default one, as in a Windows message box. Escape and the
    // close button give the box's "no": Cancel, No, or OK in a box with only OK.
    QPushButton* first = nullptr;
    int dismissed = plat::kIdOk;
    switch (flags & plat::kMbTypeMask) {
    case plat::kMbOkCancel:
        first = box.addButton(QMessageBox::Ok);
        box.setEscapeButton(box.addButton(QMessageBox::Cancel));
        dismissed = plat::kIdCancel;
        break;
    case plat::kMbYesNo:
        first = box.addButton(QMessageBox::Yes);
        box.setEscapeButton(box.addButton(QMessageBox::No));
        dismissed = plat::kIdNo;
        break;
    default:
        first = box.addButton(QMessageBox::Ok);
        box.setEscapeButton(first);
        break;
    }
    box.setDefaultButton(first);
    // Plain text buttons captioned as on the Japanese system the product speaks to.
    for (QAbstractButton* button : box.buttons()) {
        button->setIcon(QIcon());
        button->setText(ButtonCaption(box.standardButton(button)));
    }
    if (parent) box.setFont(parent->font());

    box.exec();
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok:
        return plat::kIdOk;
    case QMessageBox::Cancel:
        return plat::kIdCancel;
    case QMessageBox::Yes:
        return plat::kIdYes;
    case QMessageBox::No:
        return plat::kIdNo;
    default:
        return dismissed;
    }
}

}  // namespace qtui
