#include "ui/qt/installer_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QIcon>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "app/control_ids.h"

namespace qtui {

InstallerWindow::InstallerWindow(const res::DialogTemplate& dialog) {
    setWindowTitle(QString::fromUtf8(dialog.caption));
    setWindowIcon(QIcon(IconResourcePath(IDR_MAINFRAME)));
    // The template's frame: an application window (it has a taskbar entry) with a
    // caption, system menu and close button, fixed in size, no minimise or maximise box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    m_layout = BuildDialogLayout(*this, dialog);
    for (const LaidOutControl& control : m_layout.controls) Connect(control);
}

void InstallerWindow::SetCommandSink(CommandSink sink) { m_sink = std::move(sink); }

QWidget* InstallerWindow::Control(int id) const {
    if (id == -1) return nullptr;
    for (const LaidOutControl& control : m_layout.controls) {
        if (control.source->id == id) return control.widget;
    }
    return nullptr;
}

void InstallerWindow::Connect(const LaidOutControl& control) {
    const int id = control.source->id;
    if (id == -1) return;
    switch (control.source->kind) {
    case res::ControlKind::Combo:
        // `activated` comes only from the user, as a combo box's selection change does.
        connect(static_cast<QComboBox*>(control.widget), &QComboBox::activated, this,
                [this, id] { Route(id, kNotifySelectionChange); });
        break;
    case res::ControlKind::Radio: {
        auto* radio = static_cast<QRadioButton*>(control.widget);
        connect(radio, &QAbstractButton::clicked, this, [this, radio] { ClickRadio(radio); });
        radio->installEventFilter(this);
        break;
    }
    case res::ControlKind::Check:
    case res::ControlKind::PushButton:
        connect(static_cast<QAbstractButton*>(control.widget), &QAbstractButton::clicked, this,
                [this, id] { Route(id, kNotifyClicked); });
        break;
    default:
        break;
    }
}

void InstallerWindow::Route(int id, int code) {
    if (m_sink) m_sink(id, code);
}

const LaidOutControl* InstallerWindow::Find(const QWidget* widget) const {
    for (const LaidOutControl& control : m_layout.controls) {
        if (control.widget == widget) return &control;
    }
    return nullptr;
}

void InstallerWindow::ClickRadio(QRadioButton* radio) {
    const LaidOutControl* clicked = Find(radio);
    if (!clicked) return;
    const int group = clicked->group;
    // Qt toggled the button; an auto radio button only ever becomes checked by a click.
    radio->setChecked(true);
    for (const LaidOutControl& control : m_layout.controls) {
        if (control.group == group && control.widget != radio && control.source->kind == res::ControlKind::Radio)
            static_cast<QRadioButton*>(control.widget)->setChecked(false);
    }
    Route(clicked->source->id, kNotifyClicked);
}

bool InstallerWindow::MoveRadioChoice(QRadioButton* from, int step) {
    const LaidOutControl* start = Find(from);
    if (!start) return false;
    const int group = start->group;
    std::vector<QRadioButton*> radios;
    for (const LaidOutControl& control : m_layout.controls) {
        if (control.group == group && control.source->kind == res::ControlKind::Radio)
            radios.push_back(static_cast<QRadioButton*>(control.widget));
    }
    const auto count = static_cast<int>(radios.size());
    int at = static_cast<int>(std::find(radios.begin(), radios.end(), from) - radios.begin());
    for (int tried = 1; tried < count; ++tried) {
        QRadioButton* next = radios[static_cast<std::size_t>(((at + step * tried) % count + count) % count)];
        if (next->isEnabled() && next->isVisible()) {
            next->setFocus(Qt::TabFocusReason);
            ClickRadio(next);
            return true;
        }
    }
    return false;
}

bool InstallerWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* radio = qobject_cast<QRadioButton*>(watched);
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (radio && (key == Qt::Key_Up || key == Qt::Key_Left)) return MoveRadioChoice(radio, -1);
        if (radio && (key == Qt::Key_Down || key == Qt::Key_Right)) return MoveRadioChoice(radio, +1);
    }
    return QDialog::eventFilter(watched, event);
}

void InstallerWindow::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool enter = (key == Qt::Key_Return || key == Qt::Key_Enter) &&
                       (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (enter) {
        // A focused push button takes Enter; anywhere else it is the dialog's OK.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button && button->isEnabled())
            button->click();
        else
            Route(plat::kIdOk, kNotifyClicked);
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void InstallerWindow::reject() {
    if (m_runActive) return;
    if (m_sink)
        Route(plat::kIdCancel, kNotifyClicked);
    else
        QDialog::reject();
}

void InstallerWindow::closeEvent(QCloseEvent* event) {
    // The dialog ends through its Cancel command, which hides the window itself; the
    // close request as such is never what closes it.
    event->ignore();
    if (!m_runActive && isVisible()) reject();
}

}  // namespace qtui
