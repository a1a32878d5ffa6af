#include "tests/sweep/sweep_sandbox.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "tests/support/fixtures/host_files.h"

namespace {

// TempSystemRoot names its folders so.
constexpr const char* kRootPrefix = "mirel-test-";

// In memory where the system has a folder for that: the registry flushes each change to
// disk, and a sweep makes thousands of them.
std::string SandboxBase() {
    if (access("/dev/shm", W_OK | X_OK) == 0) return "/dev/shm";
    const char* tmp = std::getenv("TMPDIR");
    return tmp && *tmp ? tmp : "/tmp";
}

std::string MakeSandboxFolder() {
    std::string pattern = SandboxBase() + "/mirel-sweep-XXXXXX";
    if (!mkdtemp(pattern.data())) std::abort();  // no temporary folder: no sweep can run
    return pattern;
}

}  // namespace

SweepSandbox::SweepSandbox() : m_folder(MakeSandboxFolder()) {
    const std::string decoy = m_folder + "/outside";
    testsupport::WriteHostFile(decoy + "/home/notes.txt", "the user's own notes\n");
    testsupport::WriteHostFile(decoy + "/home/Program Files/Velstra/Mirel/KARVEX34.DAT", "not ours\n");
    testsupport::WriteHostFile(decoy + "/work/KARVEX34.EXE", "a file where a path without a drive would land\n");

    const std::pair<const char*, std::string> variables[] = {
        {"TMPDIR", m_folder},
        {"HOME", decoy + "/home"},
        {"XDG_DATA_HOME", decoy + "/home/.local/share"},
        {"XDG_STATE_HOME", decoy + "/home/.local/state"},
        {"XDG_CONFIG_HOME", decoy + "/home/.config"},
        {"XDG_CACHE_HOME", decoy + "/home/.cache"},
    };
    for (const auto& [name, value] : variables) {
        const char* previous = std::getenv(name);
        m_previousVariables.emplace_back(name, previous ? std::optional<std::string>(previous) : std::nullopt);
        setenv(name, value.c_str(), 1);
    }
    char working[PATH_MAX];
    if (getcwd(working, sizeof working)) m_previousWorkingFolder = working;
    if (chdir((decoy + "/work").c_str()) != 0) std::abort();
    m_initial = OutsideRoots();
}

SweepSandbox::~SweepSandbox() {
    if (!m_previousWorkingFolder.empty() && chdir(m_previousWorkingFolder.c_str()) != 0) {
        // Nothing sensible to do: the tests are over.
    }
    for (const auto& [name, value] : m_previousVariables) {
        if (value) {
            setenv(name.c_str(), value->c_str(), 1);
        } else {
            unsetenv(name.c_str());
        }
    }
    testsupport::RemoveHostTree(m_folder);
}

testsupport::HostTree SweepSandbox::OutsideRoots() const {
    testsupport::HostTree tree = testsupport::SnapshotHostTree(m_folder);
    std::erase_if(tree, [](const auto& entry) { return entry.first.rfind(kRootPrefix, 0) == 0; });
    return tree;
}

std::vector<std::string> SweepSandbox::ChangesOutsideRoots() const {
    return testsupport::ChangedPaths(m_initial, OutsideRoots());
}
