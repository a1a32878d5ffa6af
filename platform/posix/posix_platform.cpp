#include "platform/posix/posix_platform.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <system_error>

#include "platform/journal/journal_places.h"
#include "platform/posix/image/image_drive_file_system.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_memory.h"
#include "platform/posix/posix_registry.h"
#include "platform/posix/posix_shell.h"
#include "platform/posix/posix_system_errors.h"
#include "platform/posix/posix_system_text.h"
#include "platform/posix/wine_drives.h"
#include "platform/posix/wine_launchers.h"
#include "platform/posix/wine_prefix.h"
#include "platform/posix/wine_server.h"

namespace posixplat {
namespace {

constexpr const char* kProcessMountTable = "/proc/self/mounts";

std::string LoginName() {
    if (const char* user = std::getenv("USER"); user && *user) return user;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_name) return entry->pw_name;
    return "user";
}

// HKLM\Software\Wine\Drives: "d:"="cdrom" and the like, by lower-case letter.
std::map<std::string, std::string> WineDriveTypes(plat::Registry& registry) {
    std::map<std::string, std::string> types;
    plat::RegKeyHandle key = plat::kNullKey;
    if (registry.OpenKey(plat::kHkeyLocalMachine, "Software\\Wine\\Drives", plat::kKeyRead, &key) !=
        plat::kErrorSuccess) {
        return types;
    }
    for (std::uint32_t index = 0;; ++index) {
        char name[256];
        std::uint32_t nameSize = sizeof name;
        if (registry.EnumValue(key, index, name, &nameSize) != plat::kErrorSuccess) break;
        std::string value(64, '\0');
        std::uint32_t type = 0;
        std::uint32_t size = static_cast<std::uint32_t>(value.size());
        if (registry.QueryValue(key, name, &type, reinterpret_cast<unsigned char*>(value.data()), &size) !=
                plat::kErrorSuccess ||
            type != plat::kRegSz) {
            continue;
        }
        value.resize(size);
        value = value.substr(0, value.find('\0'));
        std::string letter(name, nameSize);
        for (char& c : letter) {
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
        types[letter] = value;
    }
    registry.CloseKey(key);
    return types;
}

// Disc images given for a run, as absolute paths: the drive table holds no other kind.
bool AbsoluteImagePaths(const std::vector<std::string>& given, std::vector<std::string>* absolute, std::string* error) {
    for (const std::string& image : given) {
        std::error_code ec;
        const std::string path = std::filesystem::absolute(image, ec).lexically_normal().string();
        if (ec || image.empty()) {
            if (error) *error = "cannot make the disc image " + image + " an absolute path";
            return false;
        }
        absolute->push_back(path);
    }
    return true;
}

}  // namespace

std::string DefaultSystemRoot() {
    if (const char* root = std::getenv("MIREL_SETUP_ROOT"); root && *root) return root;
    // A relative XDG_DATA_HOME is invalid and to be ignored.
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/') return std::string(data) + "/mirel-setup";
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* entry = getpwuid(getuid());
        home = entry ? entry->pw_dir : "/tmp";
    }
    return std::string(home) + "/.local/share/mirel-setup";
}

struct PosixPlatform::Impl {
    // The sandbox below `rootFolder`.
    Impl(const std::string& rootFolder, const std::vector<std::string>& discImages)
        : root(rootFolder),
          registry(std::make_unique<PosixRegistry>(rootFolder + "/registry", LoginName())),
          fileSystem(std::make_unique<PosixFileSystem>(rootFolder, kProcessMountTable, discImages)),
          images(OpenImageDrives(*fileSystem, fileSystem->Drives(), &imageProblems, &imageLines)),
          shell(std::make_unique<PosixShell>(*fileSystem)),
          platform{*images, *registry, *shell, text, memory, errors} {}

    // The Wine prefix `prefix`: its registry, its drives with links followed as Wine
    // follows them, and launchers beside the links saved in its menu and on its desktop.
    Impl(const std::string& prefix, const std::string& mountTable, const std::vector<std::string>& discImages)
        : root(prefix),
          registry(std::make_unique<PosixRegistry>(WinePrefixHives{prefix})),
          fileSystem(std::make_unique<PosixFileSystem>(
              WineDrivesWithImages(prefix, WineDriveTypes(*registry), mountTable, discImages, &imageProblems),
              LinkReach::kAnywhere)),
          images(OpenImageDrives(*fileSystem, fileSystem->Drives(), &imageProblems, &imageLines)),
          launchers(std::make_unique<WineLaunchers>(prefix, *fileSystem, *registry, DefaultLauncherFolders())),
          shell(std::make_unique<PosixShell>(*fileSystem,
                                             [this](const std::string& link, const std::string& working) {
                                                 launchers->LinkSaved(link, working);
                                             })),
          platform{*images, *registry, *shell, text, memory, errors} {
        fileSystem->SetRemovalObserver([this](const std::string& path) { launchers->FileRemoved(path); });
    }

    // A Wine prefix's drives, with the disc images of this run on free letters from D:.
    static std::vector<DriveMapping> WineDrivesWithImages(const std::string& prefix,
                                                          const std::map<std::string, std::string>& types,
                                                          const std::string& mountTable,
                                                          const std::vector<std::string>& discImages,
                                                          std::vector<std::string>* problems) {
        std::vector<DriveMapping> drives = ReadWineDrives(prefix, types, mountTable);
        AddImageDrives(drives, discImages, problems);
        return drives;
    }

    // The image drives of `drives`, each opened, in front of `fileSystem`.
    static std::unique_ptr<ImageDriveFileSystem> OpenImageDrives(PosixFileSystem& fileSystem,
                                                                 const std::vector<DriveMapping>& drives,
                                                                 std::vector<std::string>* problems,
                                                                 std::vector<std::string>* lines) {
        auto images = std::make_unique<ImageDriveFileSystem>(fileSystem);
        for (const DriveMapping& drive : drives) {
            if (!drive.image) continue;
            std::string error;
            std::unique_ptr<DiscImage> image = DiscImage::Open(drive.hostFolder, &error, problems);
            const std::string letter = std::string(1, drive.letter) + ": ";
            if (image) {
                lines->push_back(letter + drive.hostFolder + " (" + image->Kind() + ")");
            } else {
                problems->push_back(letter + error);
            }
            OpenReads::Share keep;
            if (struct stat info; ::stat(drive.hostFolder.c_str(), &info) == 0) {
                keep = fileSystem.KeepFromWriters(info.st_dev, info.st_ino);
            }
            images->AddDrive(drive.letter, std::move(image), std::move(keep));
        }
        return images;
    }

    std::string root;
    std::vector<std::string> imageProblems;  // before the drives: filled while they are opened
    std::vector<std::string> imageLines;
    std::unique_ptr<PosixRegistry> registry;
    std::unique_ptr<PosixFileSystem> fileSystem;
    std::unique_ptr<ImageDriveFileSystem> images;
    std::unique_ptr<WineLaunchers> launchers;
    std::unique_ptr<PosixShell> shell;
    PosixSystemText text;
    PosixMemory memory;
    PosixSystemErrors errors;
    plat::Platform platform;
};

PosixPlatform::PosixPlatform() = default;
PosixPlatform::~PosixPlatform() = default;

std::unique_ptr<PosixPlatform> PosixPlatform::Open(const std::string& givenRoot, std::string* error) {
    return Open(givenRoot, {}, error);
}

std::unique_ptr<PosixPlatform> PosixPlatform::Open(const std::string& givenRoot,
                                                   const std::vector<std::string>& discImages, std::string* error) {
    std::vector<std::string> images;
    if (!AbsoluteImagePaths(discImages, &images, error)) return nullptr;
    // The drives file records host folders below the root; relative to the current
    // folder they would name other folders at the next start from elsewhere.
    std::error_code ec;
    std::string root = std::filesystem::absolute(givenRoot, ec).lexically_normal().string();
    if (ec || givenRoot.empty()) {
        if (error) *error = "cannot make the system root " + givenRoot + " an absolute path";
        return nullptr;
    }
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    std::filesystem::create_directories(root + "/registry", ec);
    if (ec) {
        if (error) *error = "cannot create the system root " + root + ": " + ec.message();
        return nullptr;
    }
    std::unique_ptr<PosixPlatform> platform(new PosixPlatform());
    platform->m_impl = std::make_unique<Impl>(root, images);
    return platform;
}

std::unique_ptr<PosixPlatform> PosixPlatform::OpenWinePrefix(const std::string& dir, std::string* error) {
    return OpenWinePrefix(dir, kProcessMountTable, error);
}

std::unique_ptr<PosixPlatform> PosixPlatform::OpenWinePrefix(const std::string& dir, const std::string& mountTable,
                                                             std::string* error) {
    return OpenWinePrefix(dir, mountTable, {}, error);
}

std::unique_ptr<PosixPlatform> PosixPlatform::OpenWinePrefix(const std::string& dir, const std::string& mountTable,
                                                             const std::vector<std::string>& discImages,
                                                             std::string* error) {
    std::vector<std::string> images;
    if (!AbsoluteImagePaths(discImages, &images, error)) return nullptr;
    std::string prefix;
    std::string why;
    if (!ResolveWinePrefix(dir, &prefix, &why)) {
        if (error) *error = why;
        return nullptr;
    }
    // Checked before anything is read or written: the server would undo our changes.
    if (const std::string socket = RunningWineServer(prefix); !socket.empty()) {
        if (error) {
            *error = "Wine is running programs in the prefix " + prefix +
                     "; it keeps the prefix's registry in memory and would undo the install when they end. "
                     "Close the programs of this prefix, or end them with: WINEPREFIX=\"" + prefix + "\" wineserver -k";
        }
        return nullptr;
    }
    std::unique_ptr<PosixPlatform> platform(new PosixPlatform());
    platform->m_impl = std::make_unique<Impl>(prefix, mountTable, images);
    return platform;
}

plat::Platform& PosixPlatform::platform() { return m_impl->platform; }

const std::string& PosixPlatform::root() const { return m_impl->root; }

std::string PosixPlatform::JournalPath() const {
    if (!m_impl->launchers) return m_impl->root + "/" + journal::kSandboxJournalName;
    std::string state;
    if (const char* value = std::getenv("XDG_STATE_HOME"); value && *value == '/') {
        state = value;
    } else if (const char* home = std::getenv("HOME"); home && *home == '/') {
        state = std::string(home) + "/.local/state";
    } else {
        const passwd* entry = getpwuid(getuid());
        state = std::string(entry && entry->pw_dir ? entry->pw_dir : "/tmp") + "/.local/state";
    }
    const std::string folder = state + "/mirel-setup";
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return folder + "/" + journal::kSandboxJournalName;
}

std::vector<std::string> PosixPlatform::Problems() const {
    std::vector<std::string> problems = m_impl->fileSystem->Problems();
    problems.insert(problems.end(), m_impl->imageProblems.begin(), m_impl->imageProblems.end());
    m_impl->registry->CheckHives(&problems);
    return problems;
}

std::vector<std::string> PosixPlatform::ImageDrives() const { return m_impl->imageLines; }

}  // namespace posixplat
