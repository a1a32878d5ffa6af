#include "platform/posix/posix_platform.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_memory.h"
#include "platform/posix/posix_registry.h"
#include "platform/posix/posix_shell.h"
#include "platform/posix/posix_system_errors.h"
#include "platform/posix/posix_system_text.h"

namespace posixplat {
namespace {

std::string LoginName() {
    if (const char* user = std::getenv("USER"); user && *user) return user;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_name) return entry->pw_name;
    return "user";
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
    Impl(const std::string& rootFolder)
        : root(rootFolder),
          fileSystem(rootFolder),
          registry(rootFolder + "/registry", LoginName()),
          shell(fileSystem),
          platform{fileSystem, registry, shell, text, memory, errors} {}

    std::string root;
    PosixFileSystem fileSystem;
    PosixRegistry registry;
    PosixShell shell;
    PosixSystemText text;
    PosixMemory memory;
    PosixSystemErrors errors;
    plat::Platform platform;
};

PosixPlatform::PosixPlatform() = default;
PosixPlatform::~PosixPlatform() = default;

std::unique_ptr<PosixPlatform> PosixPlatform::Open(const std::string& givenRoot, std::string* error) {
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
    platform->m_impl = std::make_unique<Impl>(root);
    return platform;
}

plat::Platform& PosixPlatform::platform() { return m_impl->platform; }

const std::string& PosixPlatform::root() const { return m_impl->root; }

std::vector<std::string> PosixPlatform::Problems() const {
    std::vector<std::string> problems = m_impl->fileSystem.Problems();
    m_impl->registry.CheckHives(&problems);
    return problems;
}

}  // namespace posixplat
