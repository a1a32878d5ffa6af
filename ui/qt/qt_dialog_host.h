#pragma once
// The dialog host over real Qt widgets: the core's view of dialog 102 as the Linux
// window shows it. Text crosses in the system's ANSI code page, UTF-8 on Linux.
#include <memory>
#include <string>

#include "platform/dialog_host.h"
#include "ui/qt/installer_window.h"

namespace qtui {

class QtDialogHost final : public plat::DialogHost {
public:
    QtDialogHost();
    ~QtDialogHost() override;
    QtDialogHost(const QtDialogHost&) = delete;
    QtDialogHost& operator=(const QtDialogHost&) = delete;

    InstallerWindow& Window() { return *m_window; }
    void SetCommandSink(InstallerWindow::CommandSink sink) { m_window->SetCommandSink(std::move(sink)); }

    // Shows the window modally until the dialog ends; returns the dialog's result.
    int RunModal();

    int WaitCursorDepth() const { return m_waitDepth; }
    bool Ended() const { return m_ended; }
    int EndResult() const { return m_endResult; }

    // --- plat::DialogHost ---
    std::string GetText(int id) override;
    void SetText(int id, const std::string& text) override;
    bool IsEnabled(int id) override;
    void Enable(int id, bool enabled) override;
    bool IsVisible(int id) override;
    void Show(int id, bool visible) override;
    int GetCheck(int id) override;
    void SetCheck(int id, int state) override;
    void ResetContent(int id) override;
    int AddString(int id, const std::string& item) override;
    int FindStringExact(int id, const std::string& item) override;
    int GetCount(int id) override;
    int GetCurSel(int id) override;
    void SetCurSel(int id, int index) override;
    std::string GetItemText(int id, int index) override;
    void SetProgressRange(int id, int low, int high) override;
    void SetProgressPos(int id, int pos) override;
    int MessageBox(const std::string& text, unsigned flags) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void SetRunActive(bool active) override;
    void EndDialog(int result) override;

private:
    std::unique_ptr<InstallerWindow> m_window;
    int m_waitDepth = 0;
    bool m_ended = false;
    int m_endResult = 0;
};

}  // namespace qtui
