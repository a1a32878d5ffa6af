#include "frontend/installer_app.h"

bool CInstallerApp::InitInstance(plat::Platform& platform, plat::DialogHost& host, const RunModal& runModal) {
    CInstallerDlg dialog(platform, host);
    runModal(dialog);
    return false;
}
