// Shortcuts to the game in the Programs menu and on the desktop: making them after an
// install and taking them away again on uninstall.
#include <string>

#include "app/installer_dlg.h"
#include "app/string_ids.h"
#include "app/mbcs_text.h"
#include "registry/reg_key.h"
#include "registry/shell_folder_codes.h"

namespace {

// The shell takes the link file name in a buffer of this many UTF-16 units.
constexpr std::size_t kLinkNameCapacity = 260;
constexpr const char* kLinkExtension = ".lnk";

}  // namespace

int CInstallerDlg::CreateShortcut(const std::string& folder) {
    const plat::CodePage codePage = CodePage();
    std::string linkName = FolderBase(folder) + LoadString(IDS_TITLE);
    const std::string target = FolderBase(m_strInstallDir) + LoadString(IDS_EXECUTABLE);

    std::unique_ptr<plat::ShellLink> link = m_platform.shell.CreateLink();
    if (!link) return 0;
    link->SetPath(target);
    link->ClearArguments();
    // The game runs in the install folder exactly as the dialog holds it.
    link->SetWorkingDirectory(m_strInstallDir);

    // A title that already names a link file keeps its own spelling of the extension.
    if (mbcs::FindText(codePage, mbcs::ToLower(codePage, linkName), kLinkExtension) == mbcs::npos) {
        linkName += kLinkExtension;
    }

    // A name the shell's buffer cannot hold is not cut short into some other file name.
    std::u16string wideName;
    if (!m_platform.text.ToUtf16(linkName, kLinkNameCapacity, &wideName)) return 0;
    return link->Save(wideName) ? 1 : 0;
}

int CInstallerDlg::CreateShellShortcut(int code) {
    registry::RegKey shellFolders(m_platform.registry);
    std::string folder;
    if (!FindShellFolder(code, shellFolders, folder)) return 0;

    // A folder that cannot be made shows up as a link that cannot be saved.
    CreateFolderTree(folder);
    return CreateShortcut(folder);
}

int CInstallerDlg::RemoveShellShortcut(int code) {
    registry::RegKey shellFolders(m_platform.registry);
    std::string folder;
    if (!FindShellFolder(code, shellFolders, folder)) return 0;

    RemoveFile(folder + LoadString(IDS_TITLE) + kLinkExtension);

    if (code == kShellFolderPrograms) {
        // The title folder and the publisher folder above it go only when empty: another
        // product of the publisher, or the user's own files, keep them.
        mbcs::TrimRight(CodePage(), folder);
        RemoveFolder(folder);
        const std::string::size_type publisherEnd = mbcs::FindLast(CodePage(), folder, '\\');
        if (publisherEnd != mbcs::npos && publisherEnd > 0) {
            folder.erase(publisherEnd);
            RemoveFolder(folder);
        }
    }
    return 1;
}
