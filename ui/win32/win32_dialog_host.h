#pragma once
// The dialog host over the real controls of dialog 102: dialog-item calls and control
// messages, MessageBoxA with the dialog's caption, the wait cursor, EndDialog.
#include <string>

#include "platform/dialog_host.h"
#include "platform/win32/win32_api.h"

namespace win32ui {

class Win32DialogHost : public plat::DialogHost {
public:
    // The dialog window, known from WM_INITDIALOG on.
    void Attach(HWND dialog);
    HWND Window() const;
    // While a run is active the dialog takes no commands and refuses to close.
    bool RunActive() const;
    bool WaitCursorShown() const;
    static HCURSOR WaitCursor();

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
    HWND Item(int id) const;
    LRESULT Send(int id, UINT message, WPARAM wParam, LPARAM lParam) const;

    HWND m_dialog = nullptr;
    int m_waitDepth = 0;
    HCURSOR m_cursorBeforeWait = nullptr;
    bool m_runActive = false;
};

// The text of a window, whatever its length.
std::string WindowText(HWND window);

}  // namespace win32ui
