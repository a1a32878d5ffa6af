#include "tests/sweep/sweep_checks.h"

#include <fstream>
#include <map>

#include "platform/posix/registry/regedit4/regedit4_format.h"
#include "platform/posix/registry/store/hive_tree.h"
#include "registry/reg_key.h"
#include "tests/support/fixtures/host_files.h"
#include "tests/support/fixtures/sample_disc.h"
#include "tests/sweep/sweep_system.h"

namespace {

constexpr const char* kShellFoldersKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

}  // namespace

bool Refusals::Has(faultplat::Op op, const std::string& target) const {
    for (const faultplat::OperationRecord& failure : m_failures) {
        if (failure.op == op && failure.target == target) return true;
    }
    return false;
}

bool Refusals::Any(const std::string& target) const {
    for (const faultplat::OperationRecord& failure : m_failures) {
        if (failure.target == target) return true;
    }
    return false;
}

std::string Refusals::FirstCause() const {
    if (m_failures.empty()) return "no fault";
    return std::string(faultplat::OpName(m_failures.front().op)) + " " + m_failures.front().target;
}

std::vector<faultplat::OperationRecord> ClickCounting(SweepSystem& system, int id) {
    system.faults().plan().recordOperations = true;
    system.Click(id);
    system.faults().plan().recordOperations = false;
    return system.faults().trace().operations;
}

Refusals ClickFailingAt(SweepSystem& system, int id, int point, bool persistent) {
    system.faults().plan().countdowns = {faultplat::Countdown::Nth(faultplat::kAllOps, point, persistent)};
    system.Click(id);
    system.faults().plan().countdowns.clear();
    return Refusals(system.faults().trace().failures);
}

std::string OperationsByKind(const std::vector<faultplat::OperationRecord>& operations) {
    std::map<std::string, int> counts;
    for (const faultplat::OperationRecord& operation : operations) ++counts[faultplat::OpName(operation.op)];
    std::string text;
    for (const auto& [kind, count] : counts) text += (text.empty() ? " " : ", ") + std::to_string(count) + " " + kind;
    return text;
}

std::string SamePathProblem(int point, const std::vector<faultplat::OperationRecord>& clean, const Refusals& refused) {
    if (point > static_cast<int>(clean.size())) return refused.empty() ? "" : "a fault past the clean run's last operation";
    const faultplat::OperationRecord& expected = clean[point - 1];
    if (!refused.empty() && refused.all().front().op == expected.op && refused.all().front().target == expected.target)
        return {};
    return "the run went another way than the clean run, whose operation " + std::to_string(point) + " is " +
           faultplat::OpName(expected.op) + " " + expected.target;
}

bool Refusals::ShellFolderLookup(const std::string& name) const {
    return Has(faultplat::Op::RegistryOpen, kShellFoldersKey) ||
           Has(faultplat::Op::RegistryQuery, std::string(kShellFoldersKey) + "\\" + name);
}

const std::vector<std::vector<std::string>>& DataSets() {
    static const std::vector<std::vector<std::string>> sets{
        testsupport::SampleBaseFolders(), testsupport::SampleVoiceFolders(), testsupport::SampleMediaFolders()};
    return sets;
}

const std::vector<std::string>& ProgramFiles() {
    static const std::vector<std::string> files{"KARVEX34.EXE", "KARVEX34.DAT"};
    return files;
}

std::string InTree(const std::string& relativeToInstallFolder) {
    return kInstallFolderInTree + "/" + relativeToInstallFolder;
}

std::string WindowsPathOf(const std::string& treePath) {
    std::string path = "C:\\Program Files\\" + treePath;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

void CheckRunEndedClean(SweepSystem& system, std::vector<std::string>& problems) {
    if (!system.host().Ended()) problems.push_back("the dialog did not end");
    if (system.host().WaitCursorDepth() != 0 || system.host().RunActive())
        problems.push_back("the wait cursor or the run state was not taken back");
    const faultplat::FaultCounters& counters = system.faults().counters();
    if (counters.openRegistryKeys != 0)
        problems.push_back(std::to_string(counters.openRegistryKeys) + " registry keys left open");
    if (counters.liveAllocations != 0)
        problems.push_back(std::to_string(counters.liveAllocations) + " transfer buffers not released");
}

std::string HiveProblem(const SweepSystem& system) {
    const std::string file = system.root() + "/registry/HKEY_CURRENT_USER.reg";
    if (!testsupport::HostFileExists(file)) return "no hive file";
    posixplat::reg::HiveKey root("HKEY_CURRENT_USER");
    std::string error;
    if (!posixplat::reg::ParseHive(testsupport::ReadHostFile(file), &root, &error)) return "hive: " + error;
    return {};
}

bool LinkFileIsWhole(const std::string& hostPath) {
    const std::string content = testsupport::ReadHostFile(hostPath);
    return content.size() > 0x4C && content.compare(0, 4, std::string("\x4C\0\0\0", 4)) == 0;
}

bool FileThere(const SweepSystem& system, const std::string& windowsPath) {
    return testsupport::HostFileExists(system.HostPath(windowsPath));
}

bool KeyExists(SweepSystem& system, const std::string& subKey) {
    registry::RegKey key(system.registry());
    return key.Open(plat::kHkeyCurrentUser, subKey, plat::kKeyRead) == plat::kErrorSuccess;
}

std::string Leftovers(const testsupport::HostTree& programFiles) {
    if (programFiles.empty()) return "nothing";
    // The deepest folder every leftover lies in, then its entries.
    std::string base;
    for (const std::string& level : {std::string("Velstra"), kInstallFolderInTree}) {
        if (programFiles.count(level)) base = level;
    }
    if (base.empty()) return "Program Files";
    std::map<std::string, int> entries;  // name -> files in it, -1 for a file
    for (const auto& [path, entry] : programFiles) {
        if (path.size() <= base.size() || path.compare(0, base.size() + 1, base + "/") != 0) continue;
        const std::string rest = path.substr(base.size() + 1);
        const std::string::size_type slash = rest.find('/');
        if (slash == std::string::npos) {
            entries.emplace(rest, entry == "folder" ? 0 : -1);
        } else {
            ++entries[rest.substr(0, slash)];
        }
    }
    std::string text = base + "{";
    for (const auto& [name, files] : entries) {
        if (text.back() != '{') text += ", ";
        text += files < 0 ? name : name + ":" + std::to_string(files);
    }
    return text + "}";
}

std::string Joined(const std::vector<std::string>& problems) {
    std::string text;
    for (const std::string& problem : problems) text += "\n    " + problem;
    return text;
}
