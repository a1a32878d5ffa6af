#pragma once
// The Linux platform, assembled over one system root.
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace posixplat {

// $MIREL_SETUP_ROOT, else $XDG_DATA_HOME/mirel-setup, else ~/.local/share/mirel-setup.
std::string DefaultSystemRoot();

class PosixPlatform {
public:
    // Creates the root folder if needed; a relative root is taken from the current
    // folder. On failure returns null and says why in `error`.
    static std::unique_ptr<PosixPlatform> Open(const std::string& root, std::string* error);
    // The same with the disc image files `discImages` as CD-ROM drives for this run, on
    // the first free letters from D:.
    static std::unique_ptr<PosixPlatform> Open(const std::string& root, const std::vector<std::string>& discImages,
                                               std::string* error);
    // $WINEPREFIX, else ~/.wine, as Wine takes it.
    static std::string DefaultWinePrefix();
    // Opens the Wine prefix `dir` as the system: null, with the reason, when it is not a
    // prefix or a Wine server of it is running (nothing is read or changed then).
    static std::unique_ptr<PosixPlatform> OpenWinePrefix(const std::string& dir, std::string* error);
    // The same with the mount table read from `mountTable` (for tests).
    static std::unique_ptr<PosixPlatform> OpenWinePrefix(const std::string& dir, const std::string& mountTable,
                                                         std::string* error);
    // With the disc image files `discImages` as CD-ROM drives, read from the images for
    // this run, on the letters they keep in the prefix for the game to find them on at
    // play time (wine_disc_images.h).
    static std::unique_ptr<PosixPlatform> OpenWinePrefix(const std::string& dir,
                                                         const std::vector<std::string>& discImages,
                                                         std::string* error);
    static std::unique_ptr<PosixPlatform> OpenWinePrefix(const std::string& dir, const std::string& mountTable,
                                                         const std::vector<std::string>& discImages,
                                                         std::string* error);
    ~PosixPlatform();

    plat::Platform& platform();
    // The system root, or the Wine prefix.
    const std::string& root() const;
    // Where the install journal goes: <root>/setup.log in the sandbox; for a Wine prefix,
    // whose folder is Wine's, $XDG_STATE_HOME/mirel-setup/setup.log (the folder made).
    std::string JournalPath() const;
    // What in the user's files (the drives file, the registry hives) could not be used,
    // one line each naming the file, and the line where there is one. The platform still
    // works without it; the front-ends show it before the dialog.
    std::vector<std::string> Problems() const;
    // What opening the system changed in it or found worth saying (a disc given a drive
    // letter, say), one line each, for the front-ends to print and journal.
    const std::vector<std::string>& Notes() const;
    // Those of the notes the player should see in a box before the dialog (no Japanese
    // locale for the game, say).
    std::vector<std::string> Warnings() const;
    // What a run did not do that the player should know, since the last call (a
    // shortcut whose path no launcher can hold), one line each.
    std::vector<std::string> TakeRunNotes();
    // The drives whose disc is an image file: "D: /path/game.iso (ISO 9660 with Joliet
    // names)", one line each, for the programs to print.
    std::vector<std::string> ImageDrives() const;

private:
    PosixPlatform();
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace posixplat
