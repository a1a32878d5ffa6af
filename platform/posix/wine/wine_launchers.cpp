#include "platform/posix/wine/wine_launchers.h"

#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/ascii.h"
#include "platform/posix/fs/posix_file_system.h"
#include "platform/posix/icons/icon_images.h"
#include "platform/posix/icons/icon_png.h"
#include "platform/posix/icons/own_icon.h"
#include "platform/posix/registry/store/registry_names.h"
#include "platform/posix/user/user_folders.h"
#include "platform/posix/walls/posix_handles.h"

namespace posixplat {
namespace {

constexpr const char* kShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kLinkSuffix = ".lnk";
constexpr const char* kLauncherSuffix = ".desktop";

// A value of user-dirs.dirs as xdg-user-dirs writes it: \" and \\ stand for the
// characters themselves (and \$ for a dollar that is not $HOME's).
std::string UnescapeUserDir(const std::string& quoted) {
    std::string value;
    for (std::string::size_type i = 0; i < quoted.size(); ++i) {
        if (quoted[i] == '\\' && i + 1 < quoted.size()) ++i;
        value.push_back(quoted[i]);
    }
    return value;
}

// XDG_DESKTOP_DIR="$HOME/Desktop" from user-dirs.dirs, with $HOME expanded.
std::string DesktopFromUserDirs() {
    const std::string file = XdgFolder("XDG_CONFIG_HOME", "/.config") + "/user-dirs.dirs";
    UniqueFd fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info;
    if (!fd.Valid() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
    std::string text(static_cast<std::size_t>(std::min<off_t>(info.st_size, 65536)), '\0');
    const ssize_t got = ::read(fd.Get(), text.data(), text.size());
    if (got <= 0) return {};
    text.resize(static_cast<std::size_t>(got));
    const std::string key = "XDG_DESKTOP_DIR=\"";
    for (std::string::size_type start = 0; start < text.size();) {
        std::string::size_type end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (line.rfind(key, 0) != 0 || line.size() < key.size() + 1 || line.back() != '"') continue;
        std::string value = UnescapeUserDir(line.substr(key.size(), line.size() - key.size() - 1));
        if (value.rfind("$HOME", 0) == 0 && (value.size() == 5 || value[5] == '/')) {
            value = HomeFolder() + value.substr(5);
        }
        if (!value.empty() && value[0] == '/') return value;
    }
    return {};
}

// `path` below `folder`, both Windows paths compared without regard to case: the rest
// after the folder's separator; false when it lies elsewhere.
bool RelativeTo(const std::string& folder, const std::string& path, std::string* rest) {
    std::string base = folder;
    while (!base.empty() && base.back() == '\\') base.pop_back();
    if (base.empty() || path.size() <= base.size() + 1 || path[base.size()] != '\\') return false;
    if (!ascii::EqualIgnoringCase(path.substr(0, base.size()), base)) return false;
    *rest = path.substr(base.size() + 1);
    return true;
}

bool EndsWithIgnoringCase(const std::string& text, const std::string& suffix) {
    return text.size() > suffix.size() &&
           ascii::EqualIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

// One argument of an Exec line, quoted as the desktop entry format wants, before the
// format's own string escaping.
std::string ExecArgument(const std::string& argument) {
    std::string quoted = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted.push_back('\\');
        quoted.push_back(c);
    }
    quoted.push_back('"');
    return quoted;
}

// Run as `sh -c SCRIPT sh LINK [IMAGE FOLDER]...`: mounts each image on its folder, one
// level of the function each, starts the game and waits for it, then releases the
// mounts on the way back, so that only the mounts made here are released. An image that
// is missing, a fuseiso that is not installed or a mount that fails leaves the game to
// start without that disc, which it then asks for as on Windows. A mount the game's
// end still keeps busy is detached lazily.
// The game has ended when the prefix's server has: start's /wait does not wait for a
// program started through a link (Wine 8 returns at once), and the server's end also
// waits for a program the game started before it ended.
constexpr const char* kPlayWithDiscs =
    "play() { if [ $# -lt 3 ]; then wine start /unix \"$1\" && wineserver -w; return; fi; "
    "link=$1 image=$2 folder=$3; shift 3; "
    "if ! mountpoint -q \"$folder\" && [ -f \"$image\" ] && mkdir -p \"$folder\" && fuseiso \"$image\" \"$folder\"; "
    "then (play \"$link\" \"$@\"); status=$?; fusermount -u \"$folder\" || fusermount -u -z \"$folder\"; "
    "return $status; fi; play \"$link\" \"$@\"; }; play \"$@\"";

// The string escaping of a desktop entry's value; `exec` also doubles the field code sign.
std::string EntryValue(const std::string& text, bool exec) {
    std::string escaped;
    for (char c : text) {
        if (c == '\\') {
            escaped += "\\\\";
        } else if (c == '\t') {
            escaped += "\\t";
        } else if (c == '%' && exec) {
            escaped += "%%";
        } else {
            escaped.push_back(c);
        }
    }
    return escaped;
}

// What a desktop entry's value cannot carry: a line break or another control byte
// (a tab has its escape), or text that is not UTF-8.
bool CannotBeWritten(const std::string& text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && byte != '\t') || byte == 0x7f) return true;
    }
    return !reg::IsValidUtf8(text);
}

// `text` with its control bytes and bytes outside UTF-8 shown as \xNN, for a message.
std::string Printable(const std::string& text) {
    std::string shown;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f || (byte >= 0x80 && !reg::IsValidUtf8(text))) {
            static const char kHex[] = "0123456789abcdef";
            shown += "\\x";
            shown.push_back(kHex[byte >> 4]);
            shown.push_back(kHex[byte & 15]);
        } else {
            shown.push_back(c);
        }
    }
    return shown;
}

bool WriteWholeFile(const std::string& path, const std::string& text, mode_t mode) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    if (ec) return false;
    const std::string temporary = path + ".new";
    ::unlink(temporary.c_str());
    UniqueFd fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
    if (!fd.Valid()) return false;
    bool ok = ::write(fd.Get(), text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ok = ::fchmod(fd.Get(), mode) == 0 && ok;
    ok = ::close(fd.Release()) == 0 && ok;
    if (ok && ::rename(temporary.c_str(), path.c_str()) == 0) return true;
    ::unlink(temporary.c_str());
    return false;
}

// Larger than any executable on the disc that has an icon worth reading.
constexpr off_t kLargestExecutable = 256 << 20;
// Our own icon, for a program that has none; a program's icon is named after its path.
constexpr const char* kOwnIconName = "mirel-setup-launcher";
constexpr const char* kIconNamePrefix = "mirel-setup-";

std::vector<unsigned char> ReadExecutable(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info;
    if (!fd.Valid() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kLargestExecutable) {
        return {};
    }
    std::vector<unsigned char> bytes(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd.Get(), bytes.data() + done, bytes.size() - done);
        if (got <= 0) break;
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return bytes;
}

// A theme icon name for the program at `path`: ASCII whatever the path holds, and the same
// for the same path (FNV-1a).
std::string IconNameOf(const std::string& path) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : path) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    static const char kHex[] = "0123456789abcdef";
    std::string name = kIconNamePrefix;
    for (int shift = 60; shift >= 0; shift -= 4) name.push_back(kHex[(hash >> shift) & 15]);
    return name;
}

// The theme icon a launcher's text shows; empty when it shows none of ours.
std::string IconOfLauncher(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    std::string text(65536, '\0');
    const ssize_t got = fd.Valid() ? ::read(fd.Get(), text.data(), text.size()) : -1;
    if (got <= 0) return {};
    text.resize(static_cast<std::size_t>(got));
    const std::string key = "\nIcon=";
    const std::string::size_type at = text.find(key);
    if (at == std::string::npos) return {};
    const std::string::size_type start = at + key.size();
    const std::string name = text.substr(start, text.find('\n', start) - start);
    return name.rfind(kIconNamePrefix, 0) == 0 ? name : std::string();
}

// Whether a launcher in `folder`, or at most `depth` folders below it, shows `icon`.
bool AnyLauncherShows(const std::string& folder, int depth, const std::string& icon) {
    std::error_code ec;
    std::filesystem::recursive_directory_iterator it(folder, std::filesystem::directory_options::none, ec);
    for (; !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (it.depth() >= depth) it.disable_recursion_pending();
        const std::string path = it->path().string();
        if (EndsWithIgnoringCase(path, kLauncherSuffix) && IconOfLauncher(path) == icon) return true;
    }
    return false;
}

}  // namespace

LauncherFolders DefaultLauncherFolders() {
    LauncherFolders folders;
    folders.applications = XdgFolder("XDG_DATA_HOME", "/.local/share") + "/applications";
    folders.icons = XdgFolder("XDG_DATA_HOME", "/.local/share") + "/icons";
    folders.desktop = DesktopFromUserDirs();
    if (folders.desktop.empty()) folders.desktop = HomeFolder() + "/Desktop";
    return folders;
}

std::string JapaneseLocale() {
    // Asked of the C library itself: what `locale -a` lists is what it can load.
    for (const char* name : {"ja_JP.UTF-8", "ja_JP.utf8"}) {
        if (locale_t loaded = ::newlocale(LC_ALL_MASK, name, static_cast<locale_t>(0))) {
            ::freelocale(loaded);
            return "ja_JP.UTF-8";
        }
    }
    return {};
}

std::string NoJapaneseLocaleWarning() {
    return "no Japanese UTF-8 locale is installed, so Wine cannot give the game code page 932 and its texts will be "
           "garbled; make one on Debian with: sudo apt-get install locales && sudo sed -i "
           "'s/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen && sudo locale-gen";
}

std::string DesktopEntryText(const std::string& name, const std::string& prefix, const std::string& hostLinkPath,
                             const std::string& hostWorkingFolder, const std::string& locale,
                             const std::string& icon, const std::vector<WineDiscImage>& discs) {
    if (CannotBeWritten(name) || CannotBeWritten(prefix) || CannotBeWritten(hostLinkPath) ||
        CannotBeWritten(hostWorkingFolder)) {
        return {};
    }
    for (const WineDiscImage& disc : discs) {
        if (CannotBeWritten(disc.image) || CannotBeWritten(disc.folder)) return {};
    }
    // As Wine's builder: Wine's start program opens the link, so its target starts in its
    // own working folder, under Wine in this prefix.
    // Each argument quoted whole, as the desktop entry rules want (a reader that splits
    // VAR="value" itself would otherwise see a different argument).
    std::string exec = "env " + ExecArgument("WINEPREFIX=" + prefix);
    if (!locale.empty()) exec += " " + ExecArgument("LANG=" + locale) + " " + ExecArgument("LC_ALL=" + locale);
    if (discs.empty()) {
        exec += " wine start /unix " + ExecArgument(hostLinkPath);
    } else {
        exec += std::string(" sh -c ") + ExecArgument(kPlayWithDiscs) + " sh " + ExecArgument(hostLinkPath);
        for (const WineDiscImage& disc : discs) exec += " " + ExecArgument(disc.image) + " " + ExecArgument(disc.folder);
    }
    std::string text = "[Desktop Entry]\nType=Application\nName=" + EntryValue(name, false) +
                       "\nExec=" + EntryValue(exec, true) + "\n";
    if (!hostWorkingFolder.empty()) text += "Path=" + EntryValue(hostWorkingFolder, false) + "\n";
    if (!icon.empty() && !CannotBeWritten(icon)) text += "Icon=" + EntryValue(icon, false) + "\n";
    text += "StartupNotify=true\n";
    return text;
}

WineLaunchers::WineLaunchers(std::string prefix, PosixFileSystem& fileSystem, plat::Registry& registry,
                             LauncherFolders folders)
    : m_prefix(std::move(prefix)), m_fileSystem(fileSystem), m_registry(registry), m_folders(std::move(folders)) {}

std::string WineLaunchers::ShellFolder(const char* name) {
    plat::RegKeyHandle key = plat::kNullKey;
    if (m_registry.OpenKey(plat::kHkeyCurrentUser, kShellFoldersKey, plat::kKeyQueryValue, &key) != plat::kErrorSuccess) {
        return {};
    }
    std::string value(1024, '\0');
    std::uint32_t type = 0;
    std::uint32_t size = static_cast<std::uint32_t>(value.size());
    const plat::RegResult result =
        m_registry.QueryValue(key, name, &type, reinterpret_cast<unsigned char*>(value.data()), &size);
    m_registry.CloseKey(key);
    if (result != plat::kErrorSuccess || (type != plat::kRegSz && type != plat::kRegExpandSz)) return {};
    value.resize(size);
    while (!value.empty() && value.back() == '\0') value.pop_back();
    return value;
}

std::string WineLaunchers::LauncherPathOf(const std::string& linkPath) {
    if (!EndsWithIgnoringCase(linkPath, kLinkSuffix)) return {};
    std::string rest;
    std::string base;
    if (const std::string programs = ShellFolder("Programs"); !programs.empty() && RelativeTo(programs, linkPath, &rest)) {
        base = m_folders.applications + "/wine/Programs";
    } else if (const std::string desktop = ShellFolder("Desktop");
               !desktop.empty() && RelativeTo(desktop, linkPath, &rest) && rest.find('\\') == std::string::npos) {
        base = m_folders.desktop;
    } else {
        return {};
    }
    std::string relative = rest.substr(0, rest.size() - std::string(kLinkSuffix).size()) + kLauncherSuffix;
    for (char& c : relative) {
        if (c == '\\') c = '/';
    }
    return base + "/" + relative;
}

// The icon of the program at `hostTarget` (or ours) as PNGs in the hicolor theme, one per
// size; its theme name, or empty when none could be written.
std::string WineLaunchers::WriteIcon(const std::string& hostTarget) {
    const std::vector<unsigned char> program = hostTarget.empty() ? std::vector<unsigned char>() : ReadExecutable(hostTarget);
    std::vector<IconPng> pngs = BestPngs(ExecutableIcons(program.data(), program.size()));
    std::string name = IconNameOf(hostTarget);
    if (pngs.empty()) {
        pngs = BestPngs(IcoFileIcons(kOwnIconFile, kOwnIconFileSize));
        name = kOwnIconName;
    }
    bool written = false;
    for (const IconPng& png : pngs) {
        const std::string size = std::to_string(png.width) + "x" + std::to_string(png.height);
        const std::string path = m_folders.icons + "/hicolor/" + size + "/apps/" + name + ".png";
        written = WriteWholeFile(path, std::string(png.bytes.begin(), png.bytes.end()), 0644) || written;
    }
    return written ? name : std::string();
}

void WineLaunchers::RemoveIconUnlessShown(const std::string& name) {
    if (name.empty() || AnyLauncherShows(m_folders.applications, 16, name) ||
        AnyLauncherShows(m_folders.desktop, 0, name)) {
        return;
    }
    std::error_code ec;
    const std::string theme = m_folders.icons + "/hicolor";
    for (std::filesystem::directory_iterator it(theme, ec); !ec && it != std::filesystem::directory_iterator();
         it.increment(ec)) {
        const std::string apps = it->path().string() + "/apps";
        ::unlink((apps + "/" + name + ".png").c_str());
        // Size folders this leaves empty go too; the theme folder itself is shared.
        if (::rmdir(apps.c_str()) == 0) ::rmdir(it->path().c_str());
    }
}

void WineLaunchers::LinkSaved(const std::string& linkPath, const std::string& workingFolder,
                              const std::string& targetPath) {
    const std::string launcher = LauncherPathOf(linkPath);
    std::string hostLink;
    if (launcher.empty() || !m_fileSystem.ToHostPath(linkPath, &hostLink)) return;
    std::string hostWorking;
    if (!workingFolder.empty() && !m_fileSystem.ToHostPath(workingFolder, &hostWorking)) hostWorking.clear();
    const std::string name = launcher.substr(launcher.rfind('/') + 1, launcher.size() - launcher.rfind('/') - 1 -
                                                                           std::string(kLauncherSuffix).size());
    std::string hostTarget;
    if (targetPath.empty() || !m_fileSystem.ToHostPath(targetPath, &hostTarget)) hostTarget.clear();
    if (DesktopEntryText(name, m_prefix, hostLink, hostWorking, "", "", m_discs).empty()) {
        m_refusals.push_back("no launcher for the shortcut " + Printable(hostLink) +
                             ": a path in it holds a line break, a control character or bytes that are not "
                             "UTF-8, which a desktop entry cannot hold; the shortcut itself is kept");
        return;
    }
    const std::string text =
        DesktopEntryText(name, m_prefix, hostLink, hostWorking, JapaneseLocale(), WriteIcon(hostTarget), m_discs);
    // A launcher on the desktop is started by opening it, which desktops allow only for
    // an executable file; a menu entry is read by the menu.
    const bool onDesktop = launcher.rfind(m_folders.desktop + "/", 0) == 0;
    WriteWholeFile(launcher, text, onDesktop ? 0755 : 0644);
}

void WineLaunchers::SetDiscImages(std::vector<WineDiscImage> discs) { m_discs = std::move(discs); }

std::vector<std::string> WineLaunchers::TakeRefusals() { return std::exchange(m_refusals, {}); }

void WineLaunchers::FileRemoved(const std::string& windowsPath) {
    const std::string launcher = LauncherPathOf(windowsPath);
    if (launcher.empty()) return;
    const std::string icon = IconOfLauncher(launcher);
    if (::unlink(launcher.c_str()) != 0) return;
    RemoveIconUnlessShown(icon);
    // Menu folders this leaves empty go too, up to the applications folder itself.
    std::string folder = launcher.substr(0, launcher.rfind('/'));
    while (folder.size() > m_folders.applications.size() && folder.rfind(m_folders.applications + "/", 0) == 0 &&
           ::rmdir(folder.c_str()) == 0) {
        folder = folder.substr(0, folder.rfind('/'));
    }
}

}  // namespace posixplat
