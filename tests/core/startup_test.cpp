#include <gtest/gtest.h>

#include "tests/core/dialog_fixture.h"

namespace {

constexpr std::uint64_t kMb = 1 << 20;

class StartupTest : public DialogFixture {
protected:
    // Records of the three installed states, as the installer writes them.
    void Record(int state) {
        if (state == 0) return;
        const std::string cdPath = state == 3 ? kInstallDir : "Q:\\";
        WriteRecord({{"Path", kInstallDir}, {"CDPath", cdPath}, {"SetupMode", state == 1 ? "Setup_MIN" : "Setup_MAX"}},
                    state == 1 ? 0u : 1u);
    }
    std::string Selected(int id) {
        const int index = host().GetCurSel(id);
        return index == plat::kComboNone ? "" : host().GetItemText(id, index);
    }
};

TEST_F(StartupTest, ControlsDisabledByState) {
    const int ids[] = {IDC_UNINSTALL_RUN, IDC_KEEP_SAVEDATA, IDC_UNINSTALL_GROUP, IDC_INSTALL_RUN,  IDC_MODE_FULL,
                       IDC_SIZE_FULL,     IDC_SHORTCUT_DESKTOP, IDC_SHORTCUT_PROGRAMS, IDC_MODE_NORMAL, IDC_SIZE_NORMAL,
                       IDC_DEST_DRIVE,    IDC_SOURCE_DRIVE,  IDC_FREE_CAPTION,   IDC_DEST_CAPTION,  IDC_SOURCE_CAPTION,
                       IDC_INSTALL_GROUP, IDC_MODE_MIN,      IDC_SIZE_MIN,       IDC_FREE_SPACE};
    struct Case {
        int state;
        std::vector<bool> enabled;  // in the order of `ids`
    };
    // The install button also depends on space and disc; plenty of space and the disc
    // are there, so it is enabled unless the state rules it out.
    const Case cases[] = {
        {0, {0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
        {1, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {2, {1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {3, {1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    InsertDisc();
    faults().freeBytes['C'] = 64ull << 30;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        testsupport::RemoveHostTree(m_root.root() + "/registry");
        Record(c.state);
        Start();
        if (c.state == 0) {
            Select(IDC_SOURCE_DRIVE, "Q");
            Select(IDC_DEST_DRIVE, "C");
        }
        EXPECT_EQ(dlg().m_nInstallState, c.state);
        for (std::size_t i = 0; i < std::size(ids); ++i) EXPECT_EQ(host().IsEnabled(ids[i]), c.enabled[i]) << ids[i];
        EXPECT_EQ(host().GetCheck(IDC_MODE_FULL), 1);
        EXPECT_EQ(host().GetCheck(IDC_MODE_MIN) + host().GetCheck(IDC_MODE_NORMAL), 0);
        if (c.state != 0) {
            // A full installation records its own folder as the source.
            EXPECT_EQ(Selected(IDC_SOURCE_DRIVE), c.state == 3 ? "C" : "Q");
            EXPECT_EQ(Selected(IDC_DEST_DRIVE), "C");
        }
    }
}

TEST_F(StartupTest, DriveListsAndFreshSystemDefaults) {
    Start();
    // Q is a CD-ROM drive: a source, never a destination.
    EXPECT_EQ(host().Items(IDC_SOURCE_DRIVE), (std::vector<std::string>{"C", "Q"}));
    EXPECT_EQ(host().Items(IDC_DEST_DRIVE), (std::vector<std::string>{"C"}));
    EXPECT_EQ(Selected(IDC_SOURCE_DRIVE), "");
    EXPECT_EQ(Selected(IDC_DEST_DRIVE), "");
    EXPECT_EQ(host().GetText(IDC_FREE_SPACE), "-- GB");
    EXPECT_FALSE(host().IsEnabled(IDC_INSTALL_RUN));
    EXPECT_FALSE(host().IsVisible(IDC_PROGRESS));
}

TEST_F(StartupTest, SizeLabelsByState) {
    struct Case {
        int state;
        const char* min;
        const char* normal;
        const char* full;
    };
    const Case cases[] = {
        {0, "( 420 MB )", "( 1.99 GB )", "( 2.69 GB )"},
        {1, "( -- MB )", "( 1.58 GB )", "( 2.28 GB )"},
        {2, "( -- MB )", "( -- MB )", "( 710 MB )"},
        {3, "( -- MB )", "( -- MB )", "( -- MB )"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        testsupport::RemoveHostTree(m_root.root() + "/registry");
        Record(c.state);
        Start();
        EXPECT_EQ(host().GetText(IDC_SIZE_MIN), c.min);
        EXPECT_EQ(host().GetText(IDC_SIZE_NORMAL), c.normal);
        EXPECT_EQ(host().GetText(IDC_SIZE_FULL), c.full);
    }
}

TEST_F(StartupTest, AbsentOrNonNumericSizeCountsAsZero) {
    strings().Remove(107);
    strings().Set(108, "lots");
    strings().Set(109, " 2050MB");
    Start();
    EXPECT_EQ(host().GetText(IDC_SIZE_MIN), "( -- MB )");
    EXPECT_EQ(host().GetText(IDC_SIZE_NORMAL), "( -- MB )");
    EXPECT_EQ(host().GetText(IDC_SIZE_FULL), "( 2.00 GB )");
}

TEST_F(StartupTest, SizesFurtherApartThan32BitsHoldAreShown) {
    strings().Set(107, "-2147483647");
    strings().Set(109, "2147483647");
    Record(1);
    Start();
    EXPECT_EQ(host().GetText(IDC_SIZE_FULL), "( 4194304.00 GB )");
}

TEST_F(StartupTest, FreeSpaceLabelAndBoundary) {
    InsertDisc();
    struct Case {
        std::uint64_t freeBytes;
        int mode;
        const char* label;
        bool enabled;
    };
    const Case cases[] = {
        {1024 * kMb, IDC_MODE_MIN, "1024 MB", true},
        {1025 * kMb, IDC_MODE_MIN, "1.00 GB", true},
        {1536 * kMb, IDC_MODE_MIN, "1.50 GB", true},
        {3000 * kMb, IDC_MODE_FULL, "2.93 GB", true},
        {2750 * kMb, IDC_MODE_FULL, "2.69 GB", true},      // exactly enough
        {2750 * kMb - 1, IDC_MODE_FULL, "2.68 GB", false},  // one byte short
        {420 * kMb - 1, IDC_MODE_MIN, "419 MB", false},
        {0, IDC_MODE_MIN, "0 MB", false},
        {(1ull << 31) * kMb, IDC_MODE_FULL, "2097152.00 GB", true},  // past 32 bits of megabytes
        {(1ull << 43) * kMb, IDC_MODE_FULL, "8589934592.00 GB", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        faults().freeBytes['C'] = c.freeBytes;
        Start();
        Select(IDC_SOURCE_DRIVE, "Q");
        Click(c.mode);
        Select(IDC_DEST_DRIVE, "C");
        EXPECT_EQ(host().GetText(IDC_FREE_SPACE), c.label);
        EXPECT_EQ(host().IsEnabled(IDC_INSTALL_RUN), c.enabled);
    }
}

TEST_F(StartupTest, MinimumStateNeedsOnlyTheRemainder) {
    Record(1);
    faults().freeBytes['C'] = 2330 * kMb;  // 2750 - 420
    Start();
    EXPECT_TRUE(host().IsEnabled(IDC_INSTALL_RUN));  // the disc is not probed here
    faults().freeBytes['C'] = 2330 * kMb - 1;
    Restart();
    EXPECT_FALSE(host().IsEnabled(IDC_INSTALL_RUN));
}

TEST_F(StartupTest, DiscIsProbedOnEachSourceChange) {
    faults().freeBytes['C'] = 64ull << 30;
    Start();
    Select(IDC_DEST_DRIVE, "C");
    Select(IDC_SOURCE_DRIVE, "Q");
    EXPECT_FALSE(host().IsEnabled(IDC_INSTALL_RUN));
    InsertDisc({.markerInSubfolder = true});
    Select(IDC_SOURCE_DRIVE, "C");
    EXPECT_FALSE(host().IsEnabled(IDC_INSTALL_RUN));
    Select(IDC_SOURCE_DRIVE, "Q");
    EXPECT_TRUE(host().IsEnabled(IDC_INSTALL_RUN));
    EXPECT_EQ(dlg().m_strSourceRoot, "Q:\\Tazmel\\");
    EXPECT_EQ(dlg().m_strInstallDir, kInstallDir);
}

TEST_F(StartupTest, RecordOnAMissingDriveLeavesNoSelection) {
    WriteRecord({{"Path", "K:\\Program Files\\Velstra\\Mirel"}, {"CDPath", "R:\\"}, {"SetupMode", "Setup_MIN"}}, 0u);
    Start();
    EXPECT_EQ(dlg().m_nInstallState, 1);
    EXPECT_EQ(Selected(IDC_SOURCE_DRIVE), "");
    EXPECT_EQ(Selected(IDC_DEST_DRIVE), "");
    EXPECT_EQ(host().GetText(IDC_FREE_SPACE), "-- GB");
    EXPECT_FALSE(host().IsEnabled(IDC_INSTALL_RUN));
}

TEST_F(StartupTest, CancelAndEnterEndTheDialog) {
    Start();
    dlg().OnCommand(plat::kIdCancel, kNotifyClicked);
    EXPECT_TRUE(host().Ended());
    EXPECT_EQ(host().EndResult(), plat::kIdCancel);
    Restart();
    dlg().OnCommand(plat::kIdOk, kNotifyClicked);
    EXPECT_EQ(host().EndResult(), plat::kIdOk);
}

}  // namespace
