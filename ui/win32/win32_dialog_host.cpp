#include "ui/win32/win32_dialog_host.h"

#include <commctrl.h>

#include "platform/win32/win32_wide_text.h"

namespace win32ui {

std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return win32plat::Narrow(text);
}

void Win32DialogHost::Attach(HWND dialog) { m_dialog = dialog; }

HWND Win32DialogHost::Window() const { return m_dialog; }

bool Win32DialogHost::RunActive() const { return m_runActive; }

bool Win32DialogHost::WaitCursorShown() const { return m_waitDepth > 0; }

HCURSOR Win32DialogHost::WaitCursor() { return LoadCursorW(nullptr, IDC_WAIT); }

HWND Win32DialogHost::Item(int id) const { return GetDlgItem(m_dialog, id); }

LRESULT Win32DialogHost::Send(int id, UINT message, WPARAM wParam, LPARAM lParam) const {
    return SendDlgItemMessageW(m_dialog, id, message, wParam, lParam);
}

std::string Win32DialogHost::GetText(int id) { return WindowText(Item(id)); }

void Win32DialogHost::SetText(int id, const std::string& text) {
    const auto wide = win32plat::Wide(text);
    if (wide) SetDlgItemTextW(m_dialog, id, wide->c_str());
}

bool Win32DialogHost::IsEnabled(int id) { return IsWindowEnabled(Item(id)) != FALSE; }

void Win32DialogHost::Enable(int id, bool enabled) { EnableWindow(Item(id), enabled ? TRUE : FALSE); }

// The control's own flag: before the dialog first shows, every control counts as
// invisible to IsWindowVisible.
bool Win32DialogHost::IsVisible(int id) { return (GetWindowLongW(Item(id), GWL_STYLE) & WS_VISIBLE) != 0; }

void Win32DialogHost::Show(int id, bool visible) { ShowWindow(Item(id), visible ? SW_SHOW : SW_HIDE); }

int Win32DialogHost::GetCheck(int id) { return static_cast<int>(IsDlgButtonChecked(m_dialog, id)); }

void Win32DialogHost::SetCheck(int id, int state) { CheckDlgButton(m_dialog, id, static_cast<UINT>(state)); }

void Win32DialogHost::ResetContent(int id) { Send(id, CB_RESETCONTENT, 0, 0); }

int Win32DialogHost::AddString(int id, const std::string& item) {
    const auto wide = win32plat::Wide(item);
    if (!wide) return CB_ERR;
    return static_cast<int>(Send(id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide->c_str())));
}

int Win32DialogHost::FindStringExact(int id, const std::string& item) {
    const auto wide = win32plat::Wide(item);
    if (!wide) return plat::kComboNone;
    // A start index of -1 searches the whole list from its beginning.
    const LRESULT index = Send(id, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide->c_str()));
    return index == CB_ERR ? plat::kComboNone : static_cast<int>(index);
}

int Win32DialogHost::GetCount(int id) { return static_cast<int>(Send(id, CB_GETCOUNT, 0, 0)); }

int Win32DialogHost::GetCurSel(int id) {
    const LRESULT index = Send(id, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? plat::kComboNone : static_cast<int>(index);
}

void Win32DialogHost::SetCurSel(int id, int index) { Send(id, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

std::string Win32DialogHost::GetItemText(int id, int index) {
    const LRESULT length = Send(id, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR || length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got = Send(id, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == CB_ERR ? 0 : static_cast<std::size_t>(got));
    return win32plat::Narrow(text);
}

void Win32DialogHost::SetProgressRange(int id, int low, int high) {
    Send(id, PBM_SETRANGE, 0, MAKELPARAM(low, high));
}

void Win32DialogHost::SetProgressPos(int id, int pos) {
    // The bar repaints itself at once. Looking at the queue, without taking anything
    // out of it, tells the system the window is alive; no user input is acted on.
    Send(id, PBM_SETPOS, static_cast<WPARAM>(pos), 0);
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
}

int Win32DialogHost::MessageBox(const std::string& text, unsigned flags) {
    const std::string caption = WindowText(m_dialog);
    // Text that is not UTF-8 still gets its box, the way the system shows a character
    // it cannot make out, rather than no box and no answer.
    const std::wstring wideText = win32plat::Wide(text).value_or(L"\uFFFD");
    const std::wstring wideCaption = win32plat::Wide(caption).value_or(L"");
    return MessageBoxW(m_dialog, wideText.c_str(), wideCaption.c_str(), flags);
}

void Win32DialogHost::BeginWaitCursor() {
    if (m_waitDepth++ == 0) m_cursorBeforeWait = SetCursor(WaitCursor());
}

void Win32DialogHost::EndWaitCursor() {
    if (m_waitDepth == 0) return;
    if (--m_waitDepth == 0) {
        SetCursor(m_cursorBeforeWait ? m_cursorBeforeWait : LoadCursorW(nullptr, IDC_ARROW));
        m_cursorBeforeWait = nullptr;
    }
}

void Win32DialogHost::SetRunActive(bool active) { m_runActive = active; }

void Win32DialogHost::EndDialog(int result) { ::EndDialog(m_dialog, result); }

}  // namespace win32ui
