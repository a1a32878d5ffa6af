#include "platform/posix/wine/wine_launchers.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/ascii.h"
#include "platform/posix/fs/posix_file_system.h"
#include "platform/posix/walls/posix_handles.h"
#include "platform/posix/user/user_folders.h"

namespace posixplat {
namespace {

constexpr const char* kShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kLinkSuffix = ".lnk";
constexpr const char* kLauncherSuffix = ".desktop";

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
        std::string value = line.substr(key.size(), line.size() - key.size() - 1);
        if (value.rfind("$HOME", 0) == 0) value = HomeFolder() + value.substr(5);
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

bool HasLineBreak(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

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

}  // namespace

LauncherFolders DefaultLauncherFolders() {
    LauncherFolders folders;
    folders.applications = XdgFolder("XDG_DATA_HOME", "/.local/share") + "/applications";
    folders.desktop = DesktopFromUserDirs();
    if (folders.desktop.empty()) folders.desktop = HomeFolder() + "/Desktop";
    return folders;
}

std::string DesktopEntryText(const std::string& name, const std::string& prefix, const std::string& hostLinkPath,
                             const std::string& hostWorkingFolder) {
    if (HasLineBreak(name) || HasLineBreak(prefix) || HasLineBreak(hostLinkPath) || HasLineBreak(hostWorkingFolder)) {
        return {};
    }
    // As Wine's builder: Wine's start program opens the link, so its target starts in its
    // own working folder, under Wine in this prefix.
    const std::string exec = "env WINEPREFIX=" + ExecArgument(prefix) + " wine start /unix " + ExecArgument(hostLinkPath);
    std::string text = "[Desktop Entry]\nType=Application\nName=" + EntryValue(name, false) +
                       "\nExec=" + EntryValue(exec, true) + "\n";
    if (!hostWorkingFolder.empty()) text += "Path=" + EntryValue(hostWorkingFolder, false) + "\n";
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

void WineLaunchers::LinkSaved(const std::string& linkPath, const std::string& workingFolder) {
    const std::string launcher = LauncherPathOf(linkPath);
    std::string hostLink;
    if (launcher.empty() || !m_fileSystem.ToHostPath(linkPath, &hostLink)) return;
    std::string hostWorking;
    if (!workingFolder.empty() && !m_fileSystem.ToHostPath(workingFolder, &hostWorking)) hostWorking.clear();
    const std::string name = launcher.substr(launcher.rfind('/') + 1, launcher.size() - launcher.rfind('/') - 1 -
                                                                           std::string(kLauncherSuffix).size());
    const std::string text = DesktopEntryText(name, m_prefix, hostLink, hostWorking);
    if (text.empty()) return;
    // A launcher on the desktop is started by opening it, which desktops allow only for
    // an executable file; a menu entry is read by the menu.
    const bool onDesktop = launcher.rfind(m_folders.desktop + "/", 0) == 0;
    WriteWholeFile(launcher, text, onDesktop ? 0755 : 0644);
}

void WineLaunchers::FileRemoved(const std::string& windowsPath) {
    const std::string launcher = LauncherPathOf(windowsPath);
    if (launcher.empty() || ::unlink(launcher.c_str()) != 0) return;
    // Menu folders this leaves empty go too, up to the applications folder itself.
    std::string folder = launcher.substr(0, launcher.rfind('/'));
    while (folder.size() > m_folders.applications.size() && folder.rfind(m_folders.applications + "/", 0) == 0 &&
           ::rmdir(folder.c_str()) == 0) {
        folder = folder.substr(0, folder.rfind('/'));
    }
}

}  // namespace posixplat
