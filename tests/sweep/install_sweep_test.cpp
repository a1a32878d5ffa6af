// A full install with both shortcuts, failed at its first operation, then at its second,
// and so on past its last: each time on a fresh system, once with faults that fail one
// operation (transient) and once with faults that stay (persistent). After every run:
// the message and the disk agree, no file is partial, the hive parses, the next start
// finds what is on disk, an uninstall then removes what the record names and leaves
// exactly what the rules keep, and nothing outside the install's own places changed.
#include <gtest/gtest.h>

#include <map>

#include "tests/support/fixtures/install_record_reader.h"
#include "tests/sweep/sweep_checks.h"
#include "tests/sweep/sweep_sandbox.h"
#include "tests/sweep/sweep_system.h"
#include "tests/sweep/sweep_runner.h"
#include "tests/sweep/sweep_tally.h"

namespace {

using faultplat::Op;
using testsupport::HostTree;

// The disc's data folder could be neither listed nor looked at.
bool Unseen(const Refusals& refused, const std::string& folder) {
    return refused.Has(Op::List, "Q:\\" + folder + "\\*.*") && refused.Has(Op::Status, "Q:\\" + folder);
}

const std::map<std::string, std::string> kFullRecord = {
    {"Path", kInstallDir}, {"CDPath", kInstallDir}, {"SetupMode", "Setup_MAX"}, {"Install KOE", "dword:1"}};

// What a run left in C:\Program Files, judged against the disc it installed from.
class Installed {
public:
    Installed(const HostTree& programFiles, const HostTree& disc, const Refusals& refused)
        : m_tree(programFiles), m_disc(disc), m_refused(refused) {}

    bool Has(const std::string& relative) const { return m_tree.count(InTree(relative)) != 0; }
    // The file is there with the disc's content.
    bool Whole(const std::string& relative) const {
        const auto found = m_tree.find(InTree(relative));
        return found != m_tree.end() && m_disc.count(relative) && m_disc.at(relative) == found->second;
    }
    // Every file of the disc's folder is there whole. A folder that the disc would neither
    // list nor say is there cannot be told from a missing one: the copy takes it for an
    // empty one. (One that is there but cannot be listed is a failed copy.)
    bool FolderWhole(const std::string& folder) const {
        if (Unseen(m_refused, folder)) return true;
        for (const auto& [path, entry] : m_disc) {
            if (StartsWith(path, folder + "/") && !Whole(path)) return false;
        }
        return true;
    }
    bool SetWhole(const std::vector<std::string>& folders) const {
        for (const std::string& folder : folders) {
            if (!FolderWhole(folder)) return false;
        }
        return true;
    }
    bool ProgramFilesWhole() const {
        for (const std::string& name : ProgramFiles()) {
            if (!Whole(name)) return false;
        }
        return true;
    }

private:
    const HostTree& m_tree;
    const HostTree& m_disc;
    const Refusals& m_refused;
};

// Below C:\Program Files, what an uninstall of a detected installation leaves: the
// program files and the direct files of the folders of the sets the record names (and
// of the save folder) go, then each of those folders, the install folder and its parent
// when nothing is left in them. A record without a folder names nothing on disk.
HostTree AfterUninstall(HostTree tree, int state, bool recordWithoutFolder) {
    if (recordWithoutFolder) return tree;
    const auto nothingBelow = [&](const std::string& folder) {
        for (const auto& [path, entry] : tree) {
            if (StartsWith(path, folder + "/")) return false;
        }
        return true;
    };
    for (const std::string& name : ProgramFiles()) tree.erase(InTree(name));
    std::vector<std::string> named{"SAV"};
    for (int set = 0; set < state; ++set) named.insert(named.end(), DataSets()[set].begin(), DataSets()[set].end());
    for (const std::string& folder : named) {
        const std::string prefix = InTree(folder) + "/";
        std::erase_if(tree, [&](const auto& entry) {
            return StartsWith(entry.first, prefix) && entry.first.find('/', prefix.size()) == std::string::npos &&
                   entry.second != "folder";
        });
        if (nothingBelow(InTree(folder))) tree.erase(InTree(folder));
    }
    if (nothingBelow(kInstallFolderInTree)) tree.erase(kInstallFolderInTree);
    if (nothingBelow("Velstra")) tree.erase("Velstra");
    return tree;
}

class InstallSweep {
public:
    explicit InstallSweep(bool persistent) : m_persistent(persistent) {}

    // The clean run: every operation a full install with both shortcuts counts, in order.
    void CountOperations() {
        SweepSystem system;
        system.Start();
        system.ChooseFullInstallWithBothShortcuts();
        m_clean = ClickCounting(system, IDC_INSTALL_RUN);
        ASSERT_EQ(system.LastMessage(), kInstalledMessage);
    }

    const std::vector<faultplat::OperationRecord>& clean() const { return m_clean; }

    void RunAt(int point, const SweepSandbox& sandbox, SweepTally& tally) {
        std::vector<std::string> problems;
        SweepSystem system;
        system.Start();
        system.ChooseFullInstallWithBothShortcuts();
        const HostTree rootBefore = testsupport::SnapshotHostTree(system.root());

        const Refusals refused = ClickFailingAt(system, IDC_INSTALL_RUN, point, m_persistent);
        if (const std::string wayOff = SamePathProblem(point, m_clean, refused); !wayOff.empty())
            problems.push_back(wayOff);
        const RunResult run = CheckRun(system, refused, problems);

        system.Start();
        const int state = system.dlg().m_nInstallState;
        const bool recordWithoutFolder = state >= 1 && system.dlg().m_strInstallDir.empty();
        CheckDetectedState(system, Installed(run.programFiles, run.disc, refused), state, recordWithoutFolder,
                           problems);
        if (run.anyLink && (state != 3 || recordWithoutFolder)) problems.push_back("shortcuts without a full record");
        if (run.succeeded && state != 3)
            problems.push_back("success, but the next start finds state " + std::to_string(state));
        const HostTree left = UninstallIfOffered(system, run.programFiles, state, recordWithoutFolder, problems);

        for (const std::string& path :
             testsupport::ChangedPaths(rootBefore, testsupport::SnapshotHostTree(system.root()))) {
            // C:\Program Files itself is made by the install and, being above the
            // publisher's folder, never removed; a real system has it anyway.
            if (path != "drive_c/Program Files" && !StartsWith(path, "drive_c/Program Files/") &&
                !StartsWith(path, "registry/"))
                problems.push_back("changed in the system root: " + path);
        }
        for (const std::string& path : sandbox.ChangesOutsideRoots()) problems.push_back("changed outside the root: " + path);

        std::string outcome = run.outcome;
        if (state == 0) {
            outcome += "; next start: nothing installed, no uninstall; left: ";
        } else if (recordWithoutFolder) {
            outcome += "; next start: state 1 from a record without its folder; after uninstall left: ";
        } else {
            outcome += "; next start: state " + std::to_string(state) + "; after uninstall left: ";
        }
        tally.Add(point, outcome + Leftovers(left), refused.FirstCause(), problems);
    }

private:
    struct RunResult {
        bool succeeded = false;
        bool anyLink = false;
        HostTree disc;
        HostTree programFiles;
        std::string outcome;  // "success" or "failure", and how
    };

    // The run itself: its message agrees with the disk, nothing is partial, the hive
    // parses, and each step began only after the one before it was whole.
    RunResult CheckRun(SweepSystem& system, const Refusals& refused, std::vector<std::string>& problems) const {
        RunResult run;
        const std::string message = system.LastMessage();
        run.succeeded = message == kInstalledMessage;
        if (!run.succeeded && message != kFailedMessage) problems.push_back("final message \"" + message + "\"");
        CheckRunEndedClean(system, problems);

        run.disc = testsupport::SnapshotHostTree(system.discFolder());
        run.programFiles = testsupport::SnapshotHostTree(system.HostPath("C:\\Program Files"));
        const Installed installed(run.programFiles, run.disc, refused);
        std::string partial, unlisted;
        CheckNoPartialFile(run.programFiles, run.disc, refused, partial, problems);
        CheckUnlistedFolders(run.programFiles, refused, unlisted, problems);
        const bool programsLink = Link(system, system.programsLink(), problems);
        const bool desktopLink = Link(system, system.desktopLink(), problems);
        run.anyLink = programsLink || desktopLink;
        if (const std::string hive = HiveProblem(system); !hive.empty()) problems.push_back(hive);

        run.outcome = run.succeeded ? "success" : "failure";
        if (system.discPrompts() > 0) run.outcome += " after a disc prompt";
        if (run.succeeded) {
            if (!installed.ProgramFilesWhole() || !installed.SetWhole(DataSets()[0]) ||
                !installed.SetWhole(DataSets()[1]) || !installed.SetWhole(DataSets()[2]))
                problems.push_back("success reported with data missing");
            if (!installed.Has("SAV") && !refused.Has(Op::CreateFolder, std::string(kInstallDir) + "\\SAV"))
                problems.push_back("success reported without the save folder");
            if (testsupport::ReadInstallRecord(system.registry()) != kFullRecord)
                problems.push_back("success reported without the full record");
            if (!programsLink || !desktopLink) problems.push_back("success reported without both shortcuts");
            if (!unlisted.empty()) run.outcome += ", data folders copied empty (neither listing nor look-up on the disc answered):" + unlisted;
            if (!installed.Has("SAV")) run.outcome += ", without the save folder (its creation refused)";
        }
        run.outcome += partial;
        CheckStepOrder(installed, run.anyLink, refused, problems);
        return run;
    }

    // Where the next start offers an uninstall, it removes what the rules say and leaves
    // the rest; returns what is left below C:\Program Files.
    static HostTree UninstallIfOffered(SweepSystem& system, const HostTree& programFiles, int state,
                                       bool recordWithoutFolder, std::vector<std::string>& problems) {
        if (state == 0) {
            if (system.host().IsEnabled(IDC_UNINSTALL_RUN)) problems.push_back("uninstall offered for state 0");
            return programFiles;
        }
        system.Click(IDC_UNINSTALL_RUN);
        if (system.LastMessage() != kUninstalledMessage) problems.push_back("uninstall did not complete");
        CheckRunEndedClean(system, problems);
        if (const std::string hive = HiveProblem(system); !hive.empty()) problems.push_back("after uninstall: " + hive);
        HostTree left = testsupport::SnapshotHostTree(system.HostPath("C:\\Program Files"));
        for (const std::string& path :
             testsupport::ChangedPaths(AfterUninstall(programFiles, state, recordWithoutFolder), left))
            problems.push_back("after the uninstall, unlike the rules: " + path);
        if (KeyExists(system, "Software\\Velstra")) problems.push_back("the uninstall kept the registry keys");
        if (FileThere(system, system.programsLink()) || FileThere(system, system.desktopLink()))
            problems.push_back("the uninstall kept a shortcut");
        return left;
    }

    // A link file that is there is whole.
    static bool Link(SweepSystem& system, const std::string& windowsPath, std::vector<std::string>& problems) {
        if (!FileThere(system, windowsPath)) return false;
        if (!LinkFileIsWhole(system.HostPath(windowsPath))) problems.push_back("partial shortcut " + windowsPath);
        return true;
    }

    // Every file in the install folder is whole, unless the system refused to remove it:
    // those are named in `kept`.
    static void CheckNoPartialFile(const HostTree& programFiles, const HostTree& disc, const Refusals& refused,
                                   std::string& kept, std::vector<std::string>& problems) {
        for (const auto& [path, entry] : programFiles) {
            if (path == "Velstra" || path == kInstallFolderInTree) continue;
            if (!StartsWith(path, kInstallFolderInTree + "/")) {
                problems.push_back("foreign entry " + path);
                continue;
            }
            const std::string relative = path.substr(kInstallFolderInTree.size() + 1);
            if (entry == "folder") {
                if (relative != "SAV" && !disc.count(relative)) problems.push_back("foreign folder " + path);
            } else if (!disc.count(relative) || disc.at(relative) != entry) {
                if (refused.Has(Op::Delete, WindowsPathOf(path))) {
                    kept += "; partial " + relative + " kept (its removal refused)";
                } else {
                    problems.push_back("partial or foreign file " + path);
                }
            }
        }
    }

    // A data folder whose listing on the disc was refused holds no file: the copy failed
    // on it, or (when the disc would not say it is there either) took it for an empty one,
    // and such folders are named in `empty`.
    static void CheckUnlistedFolders(const HostTree& programFiles, const Refusals& refused, std::string& empty,
                                     std::vector<std::string>& problems) {
        for (const std::vector<std::string>& set : DataSets()) {
            for (const std::string& folder : set) {
                if (!refused.Has(Op::List, "Q:\\" + folder + "\\*.*")) continue;
                if (Unseen(refused, folder)) empty += " " + folder;
                for (const auto& [path, entry] : programFiles) {
                    if (StartsWith(path, InTree(folder) + "/")) problems.push_back(folder + " unlisted, yet " + path);
                }
            }
        }
    }

    // Each step begins only after the one before it is whole: program files, the save
    // folder, then the base, voice and media sets, then the shortcuts. A set that failed
    // was rolled back down to its first folder (with transient faults; a fault that
    // stays may refuse the rollback's removals).
    void CheckStepOrder(const Installed& installed, bool anyLink, const Refusals& refused,
                        std::vector<std::string>& problems) const {
        bool whole = installed.ProgramFilesWhole();
        if (!whole && installed.Has("SAV")) problems.push_back("save folder without the program files");
        for (const std::vector<std::string>& set : DataSets()) {
            if (!whole) {
                for (const std::string& folder : set) {
                    if (installed.Has(folder)) problems.push_back(folder + " copied after an unfinished step");
                }
                continue;
            }
            whole = installed.SetWhole(set);
            if (whole) continue;
            for (std::size_t index = 1; index < set.size(); ++index) {
                // The rollback empties a folder through its listing before removing it.
                const std::string folder = WindowsPathOf(InTree(set[index]));
                const bool refusedRemoval = m_persistent && (refused.Has(Op::Delete, folder) ||
                                                             refused.Has(Op::List, folder + "\\*.*"));
                if (installed.Has(set[index]) && !refusedRemoval)
                    problems.push_back(set[index] + " kept by the rollback of its set");
            }
        }
        if (!whole && anyLink) problems.push_back("a shortcut made after an unfinished step");
    }

    // The record names only what is whole on disk.
    static void CheckDetectedState(SweepSystem& system, const Installed& installed, int state,
                                   bool recordWithoutFolder, std::vector<std::string>& problems) {
        const std::map<std::string, std::string> record = testsupport::ReadInstallRecord(system.registry());
        if (state == 0) {
            if (KeyExists(system, "Software\\Velstra\\Mirel")) problems.push_back("state 0 with a record key");
            return;
        }
        if (recordWithoutFolder) {
            if (record.count("Path") && record.count("CDPath") && record.count("SetupMode"))
                problems.push_back("a whole record read as one without its folder");
            return;
        }
        if (system.dlg().m_strInstallDir != kInstallDir)
            problems.push_back("the record names the folder " + system.dlg().m_strInstallDir);
        if (!installed.ProgramFilesWhole()) problems.push_back("the record names program files that are not whole");
        for (int set = 0; set < state; ++set) {
            if (!installed.SetWhole(DataSets()[set]))
                problems.push_back("the record names set " + std::to_string(set + 1) + ", which is not whole");
        }
    }

    bool m_persistent;
    std::vector<faultplat::OperationRecord> m_clean;
};

TEST(InstallSweep, TransientFaultAtEveryOperation) { RunSweep<InstallSweep>(false, "install, transient faults"); }

TEST(InstallSweep, PersistentFaultFromEveryOperation) { RunSweep<InstallSweep>(true, "install, persistent faults"); }

}  // namespace
