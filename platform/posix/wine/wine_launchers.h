#pragma once
// Launchers on the Linux desktop for the links a program saves in a Wine prefix, as Wine's
// own menu builder makes them: a link in the Programs folder gets a freedesktop entry in
// <applications>/wine/Programs/<same sub-folders>/, a link on the Windows desktop one in
// the XDG desktop folder. Each starts the link's target under Wine in this prefix.
#include <string>

#include "platform/registry.h"

namespace posixplat {

class PosixFileSystem;

struct LauncherFolders {
    std::string applications;  // $XDG_DATA_HOME/applications
    std::string desktop;       // the XDG desktop folder
};

// $XDG_DATA_HOME (else ~/.local/share) /applications, and XDG_DESKTOP_DIR from
// $XDG_CONFIG_HOME/user-dirs.dirs (else ~/Desktop), as xdg-user-dir finds it.
LauncherFolders DefaultLauncherFolders();

class WineLaunchers {
public:
    WineLaunchers(std::string prefix, PosixFileSystem& fileSystem, plat::Registry& registry, LauncherFolders folders);

    // A link was saved at `linkPath` (a Windows path) with the working folder
    // `workingFolder` (also a Windows path): writes its launcher when the link
    // lies in the Programs folder or on the desktop. A launcher that cannot be written
    // does not undo the link, as with Wine's builder.
    void LinkSaved(const std::string& linkPath, const std::string& workingFolder);
    // A file was removed at `windowsPath`: removes the launcher of a link there, and every
    // menu folder that this leaves empty.
    void FileRemoved(const std::string& windowsPath);

    // Where the launcher of the link at `linkPath` goes; empty for a link elsewhere.
    std::string LauncherPathOf(const std::string& linkPath);

private:
    std::string ShellFolder(const char* name);

    std::string m_prefix;
    PosixFileSystem& m_fileSystem;
    plat::Registry& m_registry;
    LauncherFolders m_folders;
};

// The text of a launcher that starts the link at `hostLinkPath` under Wine in `prefix`,
// named `name`, in the working folder `hostWorkingFolder` (may be empty). Empty when a
// path holds a byte a desktop entry cannot carry (a line break).
std::string DesktopEntryText(const std::string& name, const std::string& prefix, const std::string& hostLinkPath,
                             const std::string& hostWorkingFolder);

}  // namespace posixplat
