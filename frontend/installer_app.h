#pragma once
// The application object: runs the installer's one dialog and ends with it.
#include <functional>

#include "app/installer_dlg.h"

class CInstallerApp {
public:
    // Shows the dialog modally and returns its result when it ends.
    using RunModal = std::function<int(CInstallerDlg& dialog)>;

    // Constructs the dialog on its own stack and runs it; the dialog's result is not
    // used. Returns false so that the application ends when the dialog closes.
    bool InitInstance(plat::Platform& platform, plat::DialogHost& host, const RunModal& runModal);
};
