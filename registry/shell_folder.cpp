// The folders that receive the shortcuts, read from the current user's shell folders.
#include "app/installer_dlg.h"
#include "app/mbcs_text.h"
#include "registry/reg_key.h"

namespace {

constexpr const char* kShellFoldersKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// "\Velstra\ハルネア" below the Programs folder, compiled in rather than configured. The
// core's text is in the system's code page: UTF-8 on Linux; elsewhere the bytes of the
// Japanese code page the product was made for.
std::string ProgramsSubFolder(plat::CodePage codePage) {
    if (codePage == plat::kCodePageUtf8) return "\\Velstra\\ハルネア";
    return "\\Velstra\\\x83\x6E\x83\x8B\x83\x6C\x83\x41";
}

}  // namespace

int CInstallerDlg::FindShellFolder(int code, registry::RegKey& key, std::string& folder) {
    const char* valueName = nullptr;
    if (code == 0) {
        valueName = "Desktop";
    } else if (code == 1) {
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
    if (code == 1) folder += ProgramsSubFolder(CodePage());
    folder += '\\';
    return 1;
}
