#pragma once
// What both sweeps look at after a run: which operations the plan refused, whether the
// hive still parses, whether a link file is whole, what a data set needs to count as
// installed, and a short description of what is left in C:\Program Files.
#include <string>
#include <vector>

#include "platform/fault/fault_counters.h"
#include "tests/support/fixtures/host_tree.h"

class SweepSystem;

// The operations the fault platform refused during one run.
class Refusals {
public:
    explicit Refusals(std::vector<faultplat::OperationRecord> failures) : m_failures(std::move(failures)) {}
    bool Has(faultplat::Op op, const std::string& target) const;
    // Any operation on this target (a registry key path, say).
    bool Any(const std::string& target) const;
    // A shell-folder lookup of "Desktop" or "Programs" refused: the key or the value.
    bool ShellFolderLookup(const std::string& name) const;
    bool empty() const { return m_failures.empty(); }
    // The first refused operation, "registry set Software\\...\\Path" say; "no fault".
    std::string FirstCause() const;
    const std::vector<faultplat::OperationRecord>& all() const { return m_failures; }

private:
    std::vector<faultplat::OperationRecord> m_failures;
};

// Clicks the run button `id` with nothing failing and returns every operation the run
// counted, in order.
std::vector<faultplat::OperationRecord> ClickCounting(SweepSystem& system, int id);
// Clicks the run button `id` with a countdown over every kind of operation armed at
// `point`, then disarms it; returns what it refused.
Refusals ClickFailingAt(SweepSystem& system, int id, int point, bool persistent);

// " 12 read, 30 status, ...": how many operations of each kind, for the sweep's report.
std::string OperationsByKind(const std::vector<faultplat::OperationRecord>& operations);

// "" when the run under a countdown at `point` went the way of the clean run (whose
// counted operations are `clean`) up to the refused one, else how it did not.
std::string SamePathProblem(int point, const std::vector<faultplat::OperationRecord>& clean, const Refusals& refused);

inline bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

// The data sets in install order, each a list of folders: base, voice, music and movies.
const std::vector<std::vector<std::string>>& DataSets();
// The program files of the install folder.
const std::vector<std::string>& ProgramFiles();

// Below C:\Program Files: "Velstra/Mirel/..." paths, as a host tree gives them.
inline const std::string kInstallFolderInTree = "Velstra/Mirel";
std::string InTree(const std::string& relativeToInstallFolder);
// The Windows path of a path of that tree.
std::string WindowsPathOf(const std::string& treePath);

// What a run must leave behind in the process whatever failed: the dialog ended, the wait
// cursor taken back, no registry key and no heap block of the fault platform still held.
void CheckRunEndedClean(SweepSystem& system, std::vector<std::string>& problems);

// "" when the current user's hive parses, else why not.
std::string HiveProblem(const SweepSystem& system);
// True when the file is a whole shell link: a saved link starts with its header size.
bool LinkFileIsWhole(const std::string& hostPath);
// True when a file of that Windows path is there.
bool FileThere(const SweepSystem& system, const std::string& windowsPath);
// True when the key exists (past the faults).
bool KeyExists(SweepSystem& system, const std::string& subKey);

// What is left below C:\Program Files, shortly: "nothing", "Program Files" or, say,
// "Velstra/Mirel{CUR:2, KARVEX34.EXE, SAV:0}" (a folder with its number of files).
std::string Leftovers(const testsupport::HostTree& programFiles);

// Problems joined into one line each, for a failure message.
std::string Joined(const std::vector<std::string>& problems);
