#pragma once
// The window procedure of dialog 102: start-up, command routing to the core, the
// minimized icon, the wait cursor, no closing while a run is active, and the layout,
// picture and icons at the display's resolution.
#include <functional>

#include "platform/win32/win32_api.h"
#include "res/resource_tables.h"
#include "ui/win32/dialog_display.h"

class CInstallerDlg;

namespace win32ui {

class Win32DialogHost;

// Handed to DialogBoxParam as its parameter; lives for the dialog's lifetime.
struct DialogContext {
    // Hands a command to the dialog; the install journal puts itself in between.
    using CommandRoute = std::function<void(int id, int code)>;

    DialogContext(CInstallerDlg& dialog, Win32DialogHost& host, CommandRoute route = {})
        : dialog(dialog), host(host), display(res::MainDialogTemplate()), route(std::move(route)) {}

    CInstallerDlg& dialog;
    Win32DialogHost& host;
    DialogDisplay display;
    CommandRoute route;  // empty: straight to the dialog
};

INT_PTR CALLBACK InstallerDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace win32ui
