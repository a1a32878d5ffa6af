#pragma once
// The installer's window: the controls of dialog 102 and the Windows dialog behaviour the
// core expects of them. User actions become commands (id, notification code) for the
// dialog class; closing is refused while an install or uninstall run is active.
#include <QDialog>
#include <functional>

#include "res/resource_tables.h"
#include "ui/qt/dialog_layout.h"

class QAbstractButton;
class QRadioButton;

namespace qtui {

class InstallerWindow : public QDialog {
    Q_OBJECT

public:
    using CommandSink = std::function<void(int id, int code)>;

    explicit InstallerWindow(const res::DialogTemplate& dialog);

    void SetCommandSink(CommandSink sink);

    // The widget of control `id`, or null when the template has none.
    QWidget* Control(int id) const;
    const DialogLayout& Layout() const { return m_layout; }

    void SetRunActive(bool active) { m_runActive = active; }
    bool RunActive() const { return m_runActive; }

public slots:
    // Escape and the close button are the dialog's Cancel command.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Connect(const LaidOutControl& control);
    void Route(int id, int code);
    // A click on an auto radio button: it becomes checked, the others of its group not.
    void ClickRadio(QRadioButton* radio);
    // Arrow keys move the choice within a radio group, as in a Windows dialog.
    bool MoveRadioChoice(QRadioButton* from, int step);
    const LaidOutControl* Find(const QWidget* widget) const;

    DialogLayout m_layout;
    CommandSink m_sink;
    bool m_runActive = false;
};

}  // namespace qtui
