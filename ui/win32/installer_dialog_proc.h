#pragma once
// The window procedure of dialog 102: start-up, command routing to the core, the
// minimized icon, the wait cursor, and no closing while a run is active.
#include "platform/win32/win32_api.h"

class CInstallerDlg;

namespace win32ui {

class Win32DialogHost;

// Handed to DialogBoxParam as its parameter; lives for the dialog's lifetime.
struct DialogContext {
    CInstallerDlg& dialog;
    Win32DialogHost& host;
    HICON icon;
};

INT_PTR CALLBACK InstallerDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace win32ui
