// What the dialog tells a run observer: each run's start before it changes anything, and
// its verdict from the run itself, whatever the texts of the string table say.
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "app/install_modes.h"
#include "app/install_states.h"
#include "app/run_observer.h"
#include "app/string_ids.h"
#include "tests/core/dialog_fixture.h"

namespace {

constexpr std::uint64_t kPlenty = 64ull << 30;

struct Seen {
    std::vector<RunStart> starts;
    std::vector<bool> installFolderAtStart;
    std::vector<std::pair<RunResult, std::string>> ends;
};

class RecordingObserver : public RunObserver {
public:
    RecordingObserver(Seen& seen, std::function<bool()> installFolderExists)
        : m_seen(seen), m_installFolderExists(std::move(installFolderExists)) {}
    void RunStarts(const RunStart& start) override {
        m_seen.starts.push_back(start);
        m_seen.installFolderAtStart.push_back(m_installFolderExists());
    }
    void RunEnds(RunResult result, const std::string& message) override { m_seen.ends.emplace_back(result, message); }

private:
    Seen& m_seen;
    std::function<bool()> m_installFolderExists;
};

class RunObserverTest : public DialogFixture {
protected:
    void SetUp() override { faults().freeBytes['C'] = kPlenty; }

    CInstallerDlg& Observed(CInstallerDlg& dialog) {
        dialog.m_pRunObserver = &m_observer;
        return dialog;
    }
    void InstallFull() {
        InsertDisc();
        Observed(Start());
        Select(IDC_SOURCE_DRIVE, "Q");
        Select(IDC_DEST_DRIVE, "C");
        Answer({plat::kIdOk});
        Click(IDC_INSTALL_RUN);
    }

    Seen m_seen;
    RecordingObserver m_observer{m_seen, [this] { return Exists(kInstallDir); }};
};

TEST_F(RunObserverTest, InstallReportsItsModeAndStateBeforeChangingAnything) {
    InstallFull();
    ASSERT_EQ(m_seen.starts.size(), 1u);
    EXPECT_EQ(m_seen.starts[0].kind, RunKind::Install);
    EXPECT_EQ(m_seen.starts[0].mode, ModeOfState(kInstallStateFull));
    EXPECT_EQ(m_seen.starts[0].stateBefore, kInstallStateNone);
    EXPECT_FALSE(m_seen.installFolderAtStart[0]);
    ASSERT_EQ(m_seen.ends.size(), 1u);
    EXPECT_EQ(m_seen.ends[0].first, RunResult::InstallSucceeded);
    EXPECT_EQ(m_seen.ends[0].second, host().Messages().back().text);
}

// The verdict comes from the run: a string table whose success and failure texts read
// the same still yields a failure for a run that failed.
TEST_F(RunObserverTest, FailedInstallIsReportedAsFailedWhateverItsMessageReads) {
    strings().Set(IDS_INSTALL_SUCCEEDED, "done");
    strings().Set(IDS_INSTALL_FAILED, "done");
    InsertDisc();
    Observed(Start());
    Select(IDC_SOURCE_DRIVE, "Q");
    Select(IDC_DEST_DRIVE, "C");
    EjectDisc();
    Answer({plat::kIdCancel, plat::kIdOk});
    Click(IDC_INSTALL_RUN);
    ASSERT_EQ(m_seen.ends.size(), 1u);
    EXPECT_EQ(m_seen.ends[0].first, RunResult::InstallFailed);
    EXPECT_EQ(m_seen.ends[0].second, "done");
}

TEST_F(RunObserverTest, UninstallReportsTheSaveDataChoiceAndTheInstalledState) {
    for (const bool keep : {true, false}) {
        SCOPED_TRACE(keep);
        InstallFull();
        m_seen = {};
        Observed(Restart());
        if (keep) Click(IDC_KEEP_SAVEDATA);
        Answer({plat::kIdYes, plat::kIdOk});
        Click(IDC_UNINSTALL_RUN);
        ASSERT_EQ(m_seen.starts.size(), 1u);
        EXPECT_EQ(m_seen.starts[0].kind, RunKind::Uninstall);
        EXPECT_EQ(m_seen.starts[0].keepSaveData, keep);
        EXPECT_EQ(m_seen.starts[0].stateBefore, kInstallStateFull);
        EXPECT_TRUE(m_seen.installFolderAtStart[0]);
        ASSERT_EQ(m_seen.ends.size(), 1u);
        EXPECT_EQ(m_seen.ends[0].first, RunResult::Uninstalled);
    }
}

TEST_F(RunObserverTest, DecliningTheUninstallIsNoRun) {
    InstallFull();
    m_seen = {};
    Observed(Restart());
    Answer({plat::kIdNo});
    Click(IDC_UNINSTALL_RUN);
    EXPECT_TRUE(m_seen.starts.empty());
    EXPECT_TRUE(m_seen.ends.empty());
}

}  // namespace
