#include "ui/win32/installer_dialog_proc.h"

#include "app/installer_dlg.h"
#include "ui/win32/minimized_icon.h"
#include "ui/win32/win32_dialog_host.h"

// WM_COMMAND's words reach the core as they are.
static_assert(plat::kIdOk == IDOK && plat::kIdCancel == IDCANCEL);
static_assert(kNotifyClicked == BN_CLICKED && kNotifySelectionChange == CBN_SELCHANGE);

namespace win32ui {
namespace {

DialogContext* ContextOf(HWND window) { return reinterpret_cast<DialogContext*>(GetWindowLongPtrW(window, DWLP_USER)); }

// The core reports through results; anything thrown all the same must not unwind
// through the system's dialog manager. The dialog ends instead.
template <typename Action>
void Guarded(HWND window, Action action) {
    try {
        action();
    } catch (...) {
        ::EndDialog(window, -1);
    }
}

bool IsCloseRequest(UINT message, WPARAM wParam) {
    return message == WM_CLOSE || (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE);
}

}  // namespace

INT_PTR CALLBACK InstallerDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* context = reinterpret_cast<DialogContext*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        context->host.Attach(window);
        context->display.Attach(window);
        BOOL focusDefault = TRUE;
        Guarded(window, [&] { focusDefault = context->dialog.OnInitDialog() ? TRUE : FALSE; });
        return focusDefault;
    }

    DialogContext* context = ContextOf(window);
    if (!context) return FALSE;

    // During a run no close request gets through (they can arrive as sent messages
    // while the progress update looks at the queue).
    if (context->host.RunActive() && IsCloseRequest(message, wParam)) return TRUE;

    switch (message) {
    case WM_COMMAND:
        // Commands that reach the window during a run are not user input to act on.
        if (context->host.RunActive()) return TRUE;
        Guarded(window, [&] {
            if (context->route) context->route(LOWORD(wParam), HIWORD(wParam));
            else context->dialog.OnCommand(LOWORD(wParam), HIWORD(wParam));
        });
        return TRUE;
    case WM_PAINT:
        if (!IsIconic(window)) return FALSE;
        PaintMinimizedIcon(window, context->display.LargeIcon(), context->display.LargeIconSize());
        return TRUE;
    case WM_QUERYDRAGICON:
        // One of the messages whose result a dialog procedure returns directly.
        return reinterpret_cast<INT_PTR>(context->display.LargeIcon());
    case WM_GETDPISCALEDSIZE:
        *reinterpret_cast<SIZE*>(lParam) = context->display.WindowSizeAt(static_cast<UINT>(wParam));
        SetWindowLongPtrW(window, DWLP_MSGRESULT, TRUE);
        return TRUE;
    case WM_DPICHANGED:
        context->display.MoveToDpi(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return TRUE;
    case WM_SETCURSOR:
        if (!context->host.WaitCursorShown()) return FALSE;
        SetCursor(Win32DialogHost::WaitCursor());
        SetWindowLongPtrW(window, DWLP_MSGRESULT, TRUE);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace win32ui
