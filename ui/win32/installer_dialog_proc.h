#pragma once
// The window procedure of dialog 102: start-up, command routing to the core, the
// minimized icon, the wait cursor, no closing while a run is active, and the layout,
// picture and icons at the display's resolution.
#include "platform/win32/win32_api.h"
#include "res/resource_tables.h"
#include "ui/win32/dialog_display.h"

class CInstallerDlg;

namespace win32ui {

class Win32DialogHost;

// Handed to DialogBoxParam as its parameter; lives for the dialog's lifetime.
struct DialogContext {
    DialogContext(CInstallerDlg& dialog, Win32DialogHost& host)
        : dialog(dialog), host(host), display(res::MainDialogTemplate()) {}

    CInstallerDlg& dialog;
    Win32DialogHost& host;
    DialogDisplay display;
};

INT_PTR CALLBACK InstallerDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace win32ui
