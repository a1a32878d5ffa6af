#include "app/installer_dlg.h"
#include "app/string_ids.h"
#include "res/product_constants.h"

// The disc holds its data at its root or in its data folder, whichever has the marker.
int CInstallerDlg::FindSourceRoot() {
    const int selected = m_host.GetCurSel(IDC_SOURCE_DRIVE);
    if (selected == plat::kComboNone) return 0;
    const std::string marker = LoadString(IDS_MARKER_FILE);
    std::string root = m_host.GetItemText(IDC_SOURCE_DRIVE, selected) + ":\\";
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (m_platform.fileSystem.Exists(root + marker)) {
            m_strSourceRoot = root;
            return 1;
        }
        root += res::kDiscDataFolder;
    }
    return 0;
}
