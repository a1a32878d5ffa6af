// The uninstall of a full install with both shortcuts, failed at each of its operations
// in turn (transient and persistent faults), each time on a freshly installed system.
// The uninstall reports completion whatever it could not remove; afterwards every
// thing still there must have been kept by a refused operation, the hive parses, the
// next start agrees with the record, a second uninstall removes whatever the record
// still names, and nothing outside the installation's places changed.
#include <gtest/gtest.h>

#include <map>

#include "tests/support/fixtures/host_files.h"
#include "tests/support/fixtures/install_record_reader.h"
#include "tests/sweep/sweep_checks.h"
#include "tests/sweep/sweep_sandbox.h"
#include "tests/sweep/sweep_system.h"
#include "tests/sweep/sweep_runner.h"
#include "tests/sweep/sweep_tally.h"

namespace {

using faultplat::Op;
using testsupport::HostTree;

constexpr const char* kRecordKey = "Software\\Velstra\\Mirel";
constexpr const char* kPublisherKey = "Software\\Velstra";

std::string ParentOf(const std::string& windowsPath) { return windowsPath.substr(0, windowsPath.rfind('\\')); }

class UninstallSweep {
public:
    explicit UninstallSweep(bool persistent) : m_persistent(persistent) {}

    // A fresh system with a full install with both shortcuts, started again.
    static bool Install(SweepSystem& system) {
        system.Start();
        system.ChooseFullInstallWithBothShortcuts();
        system.Click(IDC_INSTALL_RUN);
        if (system.LastMessage() != kInstalledMessage) return false;
        system.Start();
        return system.dlg().m_nInstallState == 3;
    }

    // The clean run: every operation the uninstall counts, in order.
    void CountOperations() {
        SweepSystem system;
        ASSERT_TRUE(Install(system));
        m_fullRecord = testsupport::ReadInstallRecord(system.registry());
        m_clean = ClickCounting(system, IDC_UNINSTALL_RUN);
        ASSERT_EQ(system.LastMessage(), kUninstalledMessage);
    }

    const std::vector<faultplat::OperationRecord>& clean() const { return m_clean; }

    void RunAt(int point, const SweepSandbox& sandbox, SweepTally& tally) {
        std::vector<std::string> problems;
        SweepSystem system;
        if (!Install(system)) {
            tally.Add(point, "no install to remove", "none", {"the clean install failed"});
            return;
        }
        const HostTree rootBefore = testsupport::SnapshotHostTree(system.root());

        const Refusals refused = ClickFailingAt(system, IDC_UNINSTALL_RUN, point, m_persistent);
        if (const std::string wayOff = SamePathProblem(point, m_clean, refused); !wayOff.empty())
            problems.push_back(wayOff);
        if (system.LastMessage() != kUninstalledMessage) problems.push_back("the uninstall did not end with its message");
        CheckRunEndedClean(system, problems);
        if (const std::string hive = HiveProblem(system); !hive.empty()) problems.push_back(hive);

        const HostTree left = testsupport::SnapshotHostTree(system.HostPath("C:\\Program Files"));
        CheckKeptOnlyByRefusals(left, refused, problems);
        std::string kept;
        CheckShortcuts(system, refused, kept, problems);

        const bool recordKept = KeyExists(system, kRecordKey);
        const bool publisherKept = KeyExists(system, kPublisherKey);
        if (recordKept != (refused.Has(Op::RegistryOpen, kRecordKey) || refused.Has(Op::RegistryDelete, kRecordKey)))
            problems.push_back(recordKept ? "record kept without a refusal" : "record removed despite a refusal");
        if (publisherKept != (recordKept || refused.Has(Op::RegistryOpen, kPublisherKey) ||
                              refused.Has(Op::RegistryDelete, kPublisherKey)))
            problems.push_back(publisherKept ? "publisher key kept without a refusal"
                                             : "publisher key removed despite a refusal");
        if (publisherKept && !recordKept) kept += ", publisher key";

        // The next start: a record kept is the whole full record, and a second uninstall
        // removes everything.
        system.Start();
        const int state = system.dlg().m_nInstallState;
        std::string outcome;
        if (recordKept) {
            if (state != 3 || testsupport::ReadInstallRecord(system.registry()) != m_fullRecord)
                problems.push_back("a kept record is not the full record");
            system.Click(IDC_UNINSTALL_RUN);
            const HostTree final = testsupport::SnapshotHostTree(system.HostPath("C:\\Program Files"));
            if (!final.empty()) problems.push_back("the second uninstall left " + Leftovers(final));
            if (KeyExists(system, kPublisherKey)) problems.push_back("the second uninstall kept the registry keys");
            if (FileThere(system, system.programsLink()) || FileThere(system, system.desktopLink()))
                problems.push_back("the second uninstall kept a shortcut");
            outcome = "record kept (next start: state 3, files gone); left: " + Leftovers(left) + kept +
                      "; a second uninstall removes everything";
        } else {
            if (state != 0) problems.push_back("no record, but the next start finds state " + std::to_string(state));
            outcome = "record removed (next start: nothing installed); left: " + Leftovers(left) + kept;
        }

        const std::string programsFolder = system.RootRelative(ParentOf(ParentOf(system.programsLink())));
        for (const std::string& path :
             testsupport::ChangedPaths(rootBefore, testsupport::SnapshotHostTree(system.root()))) {
            if (!StartsWith(path, "drive_c/Program Files/") && !StartsWith(path, "registry/") &&
                !StartsWith(path, programsFolder) && path != system.RootRelative(system.desktopLink()))
                problems.push_back("changed in the system root: " + path);
        }
        for (const std::string& path : sandbox.ChangesOutsideRoots()) problems.push_back("changed outside the root: " + path);
        tally.Add(point, outcome, refused.FirstCause(), problems);
    }

private:
    // Whatever is left below C:\Program Files was kept by a refused removal: of the file
    // itself, of the listing of its folder, or of the folder, or it is a folder that
    // still holds something.
    static void CheckKeptOnlyByRefusals(const HostTree& left, const Refusals& refused,
                                        std::vector<std::string>& problems) {
        for (const auto& [path, entry] : left) {
            const std::string windowsPath = WindowsPathOf(path);
            bool explained = refused.Has(Op::Delete, windowsPath);
            if (entry == "folder") {
                for (const auto& [other, ignored] : left) explained = explained || StartsWith(other, path + "/");
            } else {
                explained = explained || refused.Has(Op::List, ParentOf(windowsPath) + "\\*.*");
            }
            if (!explained) problems.push_back("kept without a refusal: " + path);
        }
    }

    // A shortcut, or a folder of the Programs shortcut, that is left was kept by a
    // refused removal or a refused look-up of its shell folder.
    static void CheckShortcuts(SweepSystem& system, const Refusals& refused, std::string& kept,
                               std::vector<std::string>& problems) {
        const struct {
            std::string path;
            const char* shellFolder;
            bool isFolder;
            const char* name;
        } places[] = {
            {system.programsLink(), "Programs", false, "Programs shortcut"},
            {ParentOf(system.programsLink()), "Programs", true, "Programs menu folder"},
            {ParentOf(ParentOf(system.programsLink())), "Programs", true, "publisher menu folder"},
            {system.desktopLink(), "Desktop", false, "desktop shortcut"},
        };
        for (const auto& place : places) {
            const std::string host = system.HostPath(place.path);
            const bool there = place.isFolder ? testsupport::HostFolderExists(host) : testsupport::HostFileExists(host);
            if (!there) continue;
            kept += std::string(", ") + place.name;
            const bool explained = refused.Has(Op::Delete, place.path) || refused.ShellFolderLookup(place.shellFolder) ||
                                   (place.isFolder && !testsupport::ListHostFolder(host).empty());
            if (!explained) problems.push_back(std::string(place.name) + " kept without a refusal");
        }
    }

    bool m_persistent;
    std::vector<faultplat::OperationRecord> m_clean;
    std::map<std::string, std::string> m_fullRecord;
};

TEST(UninstallSweep, TransientFaultAtEveryOperation) { RunSweep<UninstallSweep>(false, "uninstall, transient faults"); }

TEST(UninstallSweep, PersistentFaultFromEveryOperation) { RunSweep<UninstallSweep>(true, "uninstall, persistent faults"); }

}  // namespace
