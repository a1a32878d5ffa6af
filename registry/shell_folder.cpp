// The folders that receive the shortcuts, read from the current user's shell folders.
#include "app/installer_dlg.h"
#include "app/mbcs_text.h"
#include "registry/reg_key.h"
#include "registry/shell_folder_codes.h"
#include "res/product_constants.h"

namespace {

constexpr const char* kShellFoldersKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// The sub-folder below the Programs folder is compiled in rather than configured. The
// core's text is in the system's code page: UTF-8 on Linux; elsewhere the bytes of the
// Japanese code page the product was made for.
std::string ProgramsSubFolder(plat::CodePage codePage) {
    return codePage == plat::kCodePageUtf8 ? res::kProgramsSubFolderUtf8 : res::kProgramsSubFolder932;
}

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
    if (code == kShellFolderPrograms) folder += ProgramsSubFolder(CodePage());
    folder += '\\';
    return 1;
}
