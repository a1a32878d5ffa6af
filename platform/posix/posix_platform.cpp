#include "platform/posix/posix_platform.h"

#include <cstdlib>
#include <filesystem>
#include <map>
#include <system_error>

#include "platform/journal/journal_places.h"
#include "platform/posix/drives/optical_mounts.h"
#include "platform/posix/fs/posix_file_system.h"
#include "platform/posix/image/image_drives.h"
#include "platform/posix/posix_memory.h"
#include "platform/posix/registry/posix_registry.h"
#include "platform/posix/shell/posix_shell.h"
#include "platform/posix/posix_system_errors.h"
#include "platform/posix/codepage/posix_system_text.h"
#include "platform/posix/user/user_folders.h"
#include "platform/posix/wine/wine_disc_drives.h"
#include "platform/posix/wine/wine_disc_images.h"
#include "platform/posix/wine/wine_drives.h"
#include "platform/posix/wine/wine_hives.h"
#include "platform/posix/wine/wine_launchers.h"
#include "platform/posix/wine/wine_prefix.h"
#include "platform/posix/wine/wine_server.h"

namespace posixplat {
namespace {

// The prefix's drives, after the mounted discs that had no letter got one, with the disc
// images of the run on the letters they get (`letters`), read from the images.
std::vector<DriveMapping> PrefixDrives(const std::string& prefix, const std::string& mountTable,
                                       const std::vector<std::string>& discImages, plat::Registry& registry,
                                       std::vector<std::string>* notes, std::vector<std::string>* problems,
                                       std::vector<WineDiscImage>* letters) {
    *notes = AddWineDiscDrives(prefix, ReadOpticalMountEntries(mountTable), registry, problems);
    std::vector<DriveMapping> drives = ReadWineDrives(prefix, ReadWineDriveTypes(registry), mountTable);
    *letters = ChooseImageLetters(prefix, discImages, problems);
    MapDiscImages(drives, *letters);
    return drives;
}

}  // namespace

std::string DefaultSystemRoot() {
    if (const char* root = std::getenv("MIREL_SETUP_ROOT"); root && *root) return root;
    return XdgFolder("XDG_DATA_HOME", "/.local/share") + "/mirel-setup";
}

enum class SystemKind { kSandbox, kWinePrefix };

struct PosixPlatform::Impl {
    // The sandbox below `rootFolder`, with the disc images `discImages` on free letters.
    Impl(const std::string& rootFolder, const std::vector<std::string>& discImages)
        : kind(SystemKind::kSandbox),
          root(rootFolder),
          registry(std::make_unique<PosixRegistry>(rootFolder + "/registry", LoginName())),
          fileSystem(std::make_unique<PosixFileSystem>(rootFolder, kProcessMountTable, discImages)),
          images(OpenImageDrives(*fileSystem, fileSystem->Drives(), &imageProblems, &imageLines)),
          shell(std::make_unique<PosixShell>(*fileSystem)),
          platform{*images, *registry, *shell, text, memory, errors} {}

    // The Wine prefix `prefix`: its registry, its drives with links followed as Wine
    // follows them, and launchers beside the links saved in its menu and on its desktop.
    // `lock` is the prefix's server lock, held for as long as the platform lives.
    Impl(const std::string& prefix, const std::string& mountTable, std::unique_ptr<WineServerLock> lock,
         const std::vector<std::string>& discImages)
        : kind(SystemKind::kWinePrefix),
          root(prefix),
          serverLock(std::move(lock)),
          registry(std::make_unique<PosixRegistry>(WinePrefixHives(prefix))),
          fileSystem(std::make_unique<PosixFileSystem>(
              PrefixDrives(prefix, mountTable, discImages, *registry, &notes, &startProblems, &imageLetters),
              LinkReach::kAnywhere)),
          images(OpenImageDrives(*fileSystem, fileSystem->Drives(), &imageProblems, &imageLines)),
          launchers(std::make_unique<WineLaunchers>(prefix, *fileSystem, *registry, DefaultLauncherFolders())),
          shell(std::make_unique<PosixShell>(*fileSystem,
                                             [this](const std::string& link, const std::string& working,
                                                    const std::string& target) {
                                                 launchers->LinkSaved(link, working, target);
                                             })),
          platform{*images, *registry, *shell, text, memory, errors} {
        fileSystem->SetRemovalObserver([this](const std::string& path) { launchers->FileRemoved(path); });
        // Only an image that is a disc gets its letter kept in the prefix.
        std::vector<WineDiscImage> discs;
        for (const WineDiscImage& disc : imageLetters) {
            if (images->HasReadableDisc(disc.letter)) discs.push_back(disc);
        }
        for (std::string& added : AddWineDiscImages(prefix, discs, *registry, &startProblems)) {
            notes.push_back(std::move(added));
        }
        if (JapaneseLocale().empty()) notes.push_back(NoJapaneseLocaleWarning());
        if (!discs.empty() && !FuseIsoInstalled()) notes.push_back(NoFuseIsoWarning());
        launchers->SetDiscImages(std::move(discs));
    }

    SystemKind kind;
    std::string root;
    std::unique_ptr<WineServerLock> serverLock;
    std::vector<std::string> imageProblems;  // before the drives: filled while they are opened
    std::vector<std::string> imageLines;
    std::unique_ptr<PosixRegistry> registry;
    std::vector<std::string> notes;
    std::vector<std::string> startProblems;
    std::vector<WineDiscImage> imageLetters;
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
    // The registry makes its own folder, beneath the root: through a link planted there
    // this would make a folder anywhere.
    std::filesystem::create_directories(root, ec);
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

std::unique_ptr<PosixPlatform> PosixPlatform::OpenWinePrefix(const std::string& dir,
                                                             const std::vector<std::string>& discImages,
                                                             std::string* error) {
    return OpenWinePrefix(dir, kProcessMountTable, discImages, error);
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
    // Taken before anything is read or written, and held to the end: a server running
    // meanwhile would undo our changes when it ends.
    std::unique_ptr<WineServerLock> lock = WineServerLock::Take(prefix, &why);
    if (!lock) {
        if (error) *error = why;
        return nullptr;
    }
    std::unique_ptr<PosixPlatform> platform(new PosixPlatform());
    platform->m_impl = std::make_unique<Impl>(prefix, mountTable, std::move(lock), images);
    return platform;
}

std::string PosixPlatform::DefaultWinePrefix() { return posixplat::DefaultWinePrefix(); }

plat::Platform& PosixPlatform::platform() { return m_impl->platform; }

const std::string& PosixPlatform::root() const { return m_impl->root; }

std::string PosixPlatform::JournalPath() const {
    if (m_impl->kind == SystemKind::kSandbox) return m_impl->root + "/" + journal::kSandboxJournalName;
    const std::string folder = XdgFolder("XDG_STATE_HOME", "/.local/state") + "/" + journal::kStateFolderName;
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return folder + "/" + journal::kWinePrefixJournalName;
}

std::vector<std::string> PosixPlatform::Problems() const {
    std::vector<std::string> problems = m_impl->startProblems;
    for (const std::string& problem : m_impl->fileSystem->Problems()) problems.push_back(problem);
    problems.insert(problems.end(), m_impl->imageProblems.begin(), m_impl->imageProblems.end());
    m_impl->registry->CheckHives(&problems);
    return problems;
}

const std::vector<std::string>& PosixPlatform::Notes() const { return m_impl->notes; }

std::vector<std::string> PosixPlatform::TakeRunNotes() {
    return m_impl->launchers ? m_impl->launchers->TakeRefusals() : std::vector<std::string>();
}

std::vector<std::string> PosixPlatform::Warnings() const {
    std::vector<std::string> warnings;
    for (const std::string& note : m_impl->notes) {
        if (note == NoJapaneseLocaleWarning() || note == NoFuseIsoWarning()) warnings.push_back(note);
    }
    return warnings;
}

std::vector<std::string> PosixPlatform::ImageDrives() const { return m_impl->imageLines; }

}  // namespace posixplat
