#include "app/installer_dlg.h"

// Sub-folders are neither entered nor removed, so anything below them stays, and with it
// the folder itself.
void CInstallerDlg::RemoveFolderFiles(const std::string& folder) {
    if (std::unique_ptr<plat::FolderEnumeration> entries = m_platform.fileSystem.Enumerate(folder + "\\*.*")) {
        plat::FolderEntry entry;
        while (entries->Next(&entry)) {
            if (!entry.isFolder) RemoveFile(folder + "\\" + entry.name);
        }
    }
    RemoveFolder(folder);
}
