#include "app/installer_dlg.h"
#include "app/mbcs_text.h"

// Removal never reports a failure: a removal sequence always runs to its end and leaves
// behind only what could not be deleted.
int CInstallerDlg::RemoveFile(const std::string& path) {
    try {
        m_platform.fileSystem.RemoveFile(path);
    } catch (...) {
    }
    return 1;
}

int CInstallerDlg::RemoveFolder(const std::string& path) {
    try {
        std::string folder = path;
        mbcs::TrimRight(CodePage(), folder);
        m_platform.fileSystem.RemoveFolder(folder);
    } catch (...) {
    }
    return 1;
}
