#pragma once
// Launchers on the Linux desktop for the links a program saves in a Wine prefix, as Wine's
// own menu builder makes them: a link in the Programs folder gets a freedesktop entry in
// <applications>/wine/Programs/<same sub-folders>/, a link on the Windows desktop one in
// the XDG desktop folder. Each starts the link's target under Wine in this prefix.
#include <string>
#include <vector>

#include "platform/posix/wine/wine_disc_images.h"
#include "platform/registry.h"

namespace posixplat {

class PosixFileSystem;

struct LauncherFolders {
    std::string applications;  // $XDG_DATA_HOME/applications
    std::string desktop;       // the XDG desktop folder
    std::string icons;         // $XDG_DATA_HOME/icons
};

// $XDG_DATA_HOME (else ~/.local/share) /applications and /icons, and XDG_DESKTOP_DIR from
// $XDG_CONFIG_HOME/user-dirs.dirs (else ~/Desktop), as xdg-user-dir finds it.
LauncherFolders DefaultLauncherFolders();

class WineLaunchers {
public:
    WineLaunchers(std::string prefix, PosixFileSystem& fileSystem, plat::Registry& registry, LauncherFolders folders);

    // A link was saved at `linkPath` (a Windows path) with the working folder
    // `workingFolder` to `targetPath` (also Windows paths): writes its launcher when the
    // link lies in the Programs folder or on the desktop, with the target's icon (or ours
    // when it has none) in the hicolor theme. A launcher that cannot be written does not
    // undo the link, as with Wine's builder.
    void LinkSaved(const std::string& linkPath, const std::string& workingFolder, const std::string& targetPath);
    // A file was removed at `windowsPath`: removes the launcher of a link there, every
    // menu folder that this leaves empty, and its icon when no other launcher shows it.
    void FileRemoved(const std::string& windowsPath);

    // The disc images of this run on their letters: each launcher makes them readable
    // there while its game runs.
    void SetDiscImages(std::vector<WineDiscImage> discs);

    // The links saved since the last call that got no launcher because a path cannot be
    // written in one, one line each saying so.
    std::vector<std::string> TakeRefusals();

    // Where the launcher of the link at `linkPath` goes; empty for a link elsewhere.
    std::string LauncherPathOf(const std::string& linkPath);

private:
    std::string ShellFolder(const char* name);
    std::string WriteIcon(const std::string& hostTarget);
    void RemoveIconUnlessShown(const std::string& name);

    std::string m_prefix;
    PosixFileSystem& m_fileSystem;
    plat::Registry& m_registry;
    LauncherFolders m_folders;
    std::vector<std::string> m_refusals;
    std::vector<WineDiscImage> m_discs;
};

// The text of a launcher that starts the link at `hostLinkPath` under Wine in `prefix`,
// named `name`, in the working folder `hostWorkingFolder` (may be empty), in the locale
// `locale` (LANG and LC_ALL; empty: the player's own), showing the theme icon `icon` (may
// be empty). With `discs`, it mounts each image with fuseiso on its letter's folder for
// the game's run (unless something is mounted there already), waits for the game to end
// and releases the mounts it made; an image or a fuseiso that is missing leaves the game
// to start without its disc. Empty when a path holds a byte a desktop entry cannot carry
// (a line break or another control byte, or text that is not UTF-8).
std::string DesktopEntryText(const std::string& name, const std::string& prefix, const std::string& hostLinkPath,
                             const std::string& hostWorkingFolder, const std::string& locale,
                             const std::string& icon = {}, const std::vector<WineDiscImage>& discs = {});

// A Japanese UTF-8 locale the system has ("ja_JP.UTF-8"); empty when it has none. The
// game keeps its texts in code page 932, which Wine gives only under such a locale.
std::string JapaneseLocale();
// What to tell the player when there is none, with the Debian commands that make one.
std::string NoJapaneseLocaleWarning();

}  // namespace posixplat
