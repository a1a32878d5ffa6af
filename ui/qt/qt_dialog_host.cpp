#include "ui/qt/qt_dialog_host.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>

#include "host/combo_order.h"
#include "res/resource_tables.h"
#include "ui/qt/message_box.h"

namespace qtui {
namespace {

// The core's text is in the ANSI code page of the POSIX platform, which is UTF-8.
QString FromCore(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

std::string ToCore(const QString& text) { return text.toUtf8().toStdString(); }

}  // namespace

QtDialogHost::QtDialogHost() : m_window(std::make_unique<InstallerWindow>(res::MainDialogTemplate())) {}

QtDialogHost::~QtDialogHost() {
    while (m_waitDepth > 0) EndWaitCursor();
}

int QtDialogHost::RunModal() {
    if (!m_ended) m_window->exec();
    return m_endResult;
}

std::string QtDialogHost::GetText(int id) {
    QWidget* widget = m_window->Control(id);
    if (auto* label = qobject_cast<QLabel*>(widget)) return ToCore(label->text());
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return ToCore(button->text());
    if (auto* group = qobject_cast<QGroupBox*>(widget)) return ToCore(group->title());
    // The window text of a drop-down list is its selected item.
    if (auto* combo = qobject_cast<QComboBox*>(widget)) return ToCore(combo->currentText());
    return {};
}

void QtDialogHost::SetText(int id, const std::string& text) {
    QWidget* widget = m_window->Control(id);
    if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(FromCore(text));
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(FromCore(text));
    else if (auto* group = qobject_cast<QGroupBox*>(widget))
        group->setTitle(FromCore(text));
}

bool QtDialogHost::IsEnabled(int id) {
    QWidget* widget = m_window->Control(id);
    return widget && widget->isEnabled();
}

void QtDialogHost::Enable(int id, bool enabled) {
    if (QWidget* widget = m_window->Control(id)) widget->setEnabled(enabled);
}

// Visible as WS_VISIBLE means it: the control's own flag, whether or not the window is
// on the screen yet.
bool QtDialogHost::IsVisible(int id) {
    QWidget* widget = m_window->Control(id);
    return widget && !widget->isHidden();
}

void QtDialogHost::Show(int id, bool visible) {
    if (QWidget* widget = m_window->Control(id)) widget->setHidden(!visible);
}

int QtDialogHost::GetCheck(int id) {
    auto* button = qobject_cast<QAbstractButton*>(m_window->Control(id));
    return button && button->isChecked() ? 1 : 0;
}

// Sets this button only, as BM_SETCHECK does; the group's exclusivity belongs to clicks.
void QtDialogHost::SetCheck(int id, int state) {
    auto* button = qobject_cast<QAbstractButton*>(m_window->Control(id));
    if (button && button->isCheckable()) button->setChecked(state != 0);
}

void QtDialogHost::ResetContent(int id) {
    if (auto* combo = qobject_cast<QComboBox*>(m_window->Control(id))) combo->clear();
}

int QtDialogHost::AddString(int id, const std::string& item) {
    auto* combo = qobject_cast<QComboBox*>(m_window->Control(id));
    if (!combo) return plat::kComboNone;
    // Before an equal item, as the system's sorted list places a duplicate.
    int index = 0;
    while (index < combo->count() && CompareComboItems(ToCore(combo->itemText(index)), item) < 0) ++index;
    const int selected = combo->currentIndex();
    combo->insertItem(index, FromCore(item));
    // Qt selects the first item put into an empty box; a Windows combo box selects
    // nothing until told to. A selection moved down by the insert is kept by Qt.
    if (selected == plat::kComboNone) combo->setCurrentIndex(-1);
    return index;
}

int QtDialogHost::FindStringExact(int id, const std::string& item) {
    auto* combo = qobject_cast<QComboBox*>(m_window->Control(id));
    if (!combo) return plat::kComboNone;
    for (int i = 0; i < combo->count(); ++i) {
        if (CompareComboItems(ToCore(combo->itemText(i)), item) == 0) return i;
    }
    return plat::kComboNone;
}

int QtDialogHost::GetCount(int id) {
    auto* combo = qobject_cast<QComboBox*>(m_window->Control(id));
    return combo ? combo->count() : 0;
}

int QtDialogHost::GetCurSel(int id) {
    auto* combo = qobject_cast<QComboBox*>(m_window->Control(id));
    return combo ? combo->currentIndex() : plat::kComboNone;
}

void QtDialogHost::SetCurSel(int id, int index) {
    auto* combo = qobject_cast<QComboBox*>(m_window->Control(id));
    if (!combo) return;
    // -1 or an index past the end clears the selection, as CB_SETCURSEL does.
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

std::string QtDialogHost::GetItemText(int id, int index) {
    auto* combo = qobject_cast<QComboBox*>(m_window->Control(id));
    if (!combo || index < 0 || index >= combo->count()) return {};
    return ToCore(combo->itemText(index));
}

void QtDialogHost::SetProgressRange(int id, int low, int high) {
    if (auto* bar = qobject_cast<QProgressBar*>(m_window->Control(id))) bar->setRange(low, high);
}

void QtDialogHost::SetProgressPos(int id, int pos) {
    auto* bar = qobject_cast<QProgressBar*>(m_window->Control(id));
    if (!bar) return;
    bar->setValue(pos);
    bar->repaint();
    // The run holds the one thread: answer the window system (expose, close requests,
    // pings) so the window is not judged hung, but leave the user's input for later.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

int QtDialogHost::MessageBox(const std::string& text, unsigned flags) {
    return ShowMessageBox(m_window.get(), m_window->windowTitle(), FromCore(text), flags);
}

void QtDialogHost::BeginWaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++m_waitDepth;
}

void QtDialogHost::EndWaitCursor() {
    if (m_waitDepth == 0) return;
    QApplication::restoreOverrideCursor();
    --m_waitDepth;
}

void QtDialogHost::SetRunActive(bool active) { m_window->SetRunActive(active); }

void QtDialogHost::EndDialog(int result) {
    m_ended = true;
    m_endResult = result;
    m_window->done(result);
}

}  // namespace qtui
