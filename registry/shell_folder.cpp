// The folders that receive the shortcuts, read from the current user's shell folders.
#include "app/installer_dlg.h"
#include "app/mbcs_text.h"
#include "registry/reg_key.h"
#include "registry/shell_folder_codes.h"
#include "res/product_constants.h"

namespace {

constexpr const char* kShellFoldersKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

}  // namespace

int CInstallerDlg::FindShellFolder(int code, registry::RegKey& key, std::string& folder) {
    const char* valueName = nullptr;
    if (code == kShellFolderDesktop) {
        valueName = "Desktop";
    } else if (code == kShellFolderPrograms) {
        valueName = "Programs";
    } else {
        return 0;
    }

    if (key.Open(plat::kHkeyCurrentUser, kShellFoldersKey, plat::kKeyRead) != plat::kErrorSuccess) return 0;
    if (!ReadStringValue(key.get(), valueName, folder)) {
        key.Close();
        return 0;
    }

    mbcs::TrimRight(CodePage(), folder);
    // The sub-folder below the Programs folder is compiled in rather than configured.
    if (code == kShellFolderPrograms) folder += res::kProgramsSubFolder;
    folder += '\\';
    return 1;
}
