#include "app/installer_dlg.h"
#include "app/mbcs_text.h"

// Missing ancestors are created outermost first; a level that cannot be created, such
// as a bare drive designator, is passed over and only the folder itself decides.
int CInstallerDlg::CreateFolderTree(std::string path) {
    const plat::CodePage codePage = CodePage();
    mbcs::TrimRight(codePage, path);
    if (m_platform.fileSystem.Exists(path)) return 1;

    const std::string::size_type last = mbcs::FindLast(codePage, path, '\\');
    std::string parent;
    if (last != mbcs::npos && last > 0) parent = path.substr(0, last);
    if (!parent.empty() && !m_platform.fileSystem.Exists(parent)) CreateFolderTree(parent);

    return m_platform.fileSystem.CreateFolder(path) ? 1 : 0;
}
