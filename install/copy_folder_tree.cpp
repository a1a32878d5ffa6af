#include "app/installer_dlg.h"

int CInstallerDlg::CopyFolderTree(const std::string& destination, const std::string& source) {
    if (!CreateFolderTree(destination)) return 0;

    int result = 1;
    std::unique_ptr<plat::FolderEnumeration> entries = m_platform.fileSystem.Enumerate(source + "\\*.*");
    if (!entries) return result;  // a missing source folder leaves an empty destination folder

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
