#include "app/installer_dlg.h"

int CInstallerDlg::CopyFolderTree(const std::string& destination, const std::string& source) {
    if (!CreateFolderTree(destination)) return 0;

    int result = 1;
    std::unique_ptr<plat::FolderEnumeration> entries = m_platform.fileSystem.Enumerate(source + "\\*.*");
    if (!entries) {
        // A missing source folder leaves an empty destination folder; one that is there
        // but cannot be listed (a damaged disc) is a failed copy, not an empty folder.
        return m_platform.fileSystem.Exists(source) ? 0 : result;
    }

    plat::FolderEntry entry;
    while (entries->Next(&entry)) {
        const std::string to = destination + "\\" + entry.name;
        const std::string from = source + "\\" + entry.name;
        if (entry.isFolder) {
            if (!entry.name.empty() && entry.name[0] == '.') continue;  // ".", ".." and hidden folders
            if (!CopyFolderTree(to, from)) {
                result = 0;
                break;
            }
        } else if (!CopyFileWithProgress(to, from)) {
            result = 0;
            break;
        }
    }
    return result;
}
