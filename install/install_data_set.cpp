#include "app/installer_dlg.h"

int CInstallerDlg::InstallDataSet(unsigned listId) {
    const std::string base = FolderBase(m_strInstallDir);
    CStringArray names;
    if (SplitList(LoadString(listId), names, ',') <= 0) return 1;

    for (std::size_t i = 0; i < names.size(); ++i) {
        if (CopyFolderTree(base + names[i], m_strSourceRoot + names[i])) continue;

        // Clean the failed folder and the ones before it, down to index 1: the set's first
        // folder keeps what it has.
        for (std::size_t j = i; j >= 1; --j) RemoveFolderFiles(base + names[j]);
        return 0;
    }
    return 1;
}
