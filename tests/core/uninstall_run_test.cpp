#include <gtest/gtest.h>

#include "tests/core/dialog_fixture.h"

namespace {

using testsupport::HostFileExists;
using testsupport::WriteHostFile;

const std::string kUninstalled = "アンインストールが完了しました。";
const std::string kParent = "C:\\Program Files\\Velstra";

class UninstallRunTest : public DialogFixture {
protected:
    // A full installation with both shortcuts, made by the installer itself.
    void InstallFull() {
        faults().freeBytes['C'] = 64ull << 30;
        InsertDisc({.nested = false});
        Start();
        Select(IDC_SOURCE_DRIVE, "Q");
        Select(IDC_DEST_DRIVE, "C");
        Click(IDC_SHORTCUT_PROGRAMS);
        Click(IDC_SHORTCUT_DESKTOP);
        Answer({plat::kIdOk});
        Click(IDC_INSTALL_RUN);
        ASSERT_EQ(ReadRecord()["CDPath"], kInstallDir);
        ASSERT_TRUE(Exists(ProgramsLink()));
    }
    void Uninstall(bool keepSaveData) {
        Restart();
        if (keepSaveData) Click(IDC_KEEP_SAVEDATA);
        Answer({plat::kIdYes, plat::kIdOk});
        Click(IDC_UNINSTALL_RUN);
        ASSERT_FALSE(host().Messages().empty());
        EXPECT_EQ(host().Messages().back().text, kUninstalled);
        EXPECT_EQ(host().Messages().back().flags, 0x40u);
        EXPECT_TRUE(host().Ended());
    }
    bool Has(const std::string& relative) { return Exists(kInstallDir + "\\" + relative); }
    std::string ProgramsLink() { return ShellFolder("Programs") + "\\Velstra\\ハルネア\\ハルネア.lnk"; }
    std::string DesktopLink() { return ShellFolder("Desktop") + "\\ハルネア.lnk"; }
};

TEST_F(UninstallRunTest, NestedDataFoldersKeepTheirSubFolders) {
    faults().freeBytes['C'] = 64ull << 30;
    InsertDisc();
    Start();
    Select(IDC_SOURCE_DRIVE, "Q");
    Select(IDC_DEST_DRIVE, "C");
    Answer({plat::kIdOk});
    Click(IDC_INSTALL_RUN);
    Uninstall(false);
    EXPECT_TRUE(Has("CUR\\SUB\\CUR_S0.DAT"));
    EXPECT_FALSE(Has("CUR\\CUR_00.DAT"));
    EXPECT_FALSE(Has("KARVEX34.EXE"));
    EXPECT_TRUE(ReadRecord().empty());
}

TEST_F(UninstallRunTest, RemovesEverythingItInstalled) {
    InstallFull();
    ASSERT_TRUE(WriteHostFile(HostPath(kInstallDir + "\\SAV\\SAVE01.DAT"), "progress"));
    Uninstall(false);
    EXPECT_FALSE(Exists(kInstallDir));
    EXPECT_FALSE(Exists(kParent));
    EXPECT_TRUE(Exists("C:\\Program Files"));  // nothing above the publisher folder is touched
    EXPECT_TRUE(ReadRecord().empty());
    EXPECT_FALSE(Exists(ProgramsLink()));
    EXPECT_FALSE(Exists(ShellFolder("Programs") + "\\Velstra"));
    EXPECT_FALSE(Exists(DesktopLink()));
    EXPECT_EQ(host().WaitCursorDepth(), 0);
    EXPECT_TRUE(host().ProgressHistory().empty());
}

TEST_F(UninstallRunTest, KeepingSaveDataKeepsTheInstallFolder) {
    InstallFull();
    ASSERT_TRUE(WriteHostFile(HostPath(kInstallDir + "\\SAV\\SAVE01.DAT"), "progress"));
    Uninstall(true);
    EXPECT_EQ(testsupport::ReadHostFile(HostPath(kInstallDir + "\\SAV\\SAVE01.DAT")), "progress");
    for (const char* gone : {"KARVEX34.EXE", "KARVEX34.DAT", "BGM\\BGM_00.DAT", "KOE\\KOE_00.DAT", "CUR\\CUR_00.DAT"})
        EXPECT_FALSE(Has(gone)) << gone;
    EXPECT_TRUE(ReadRecord().empty());
    EXPECT_FALSE(Exists(DesktopLink()));
}

TEST_F(UninstallRunTest, EmptySaveFolderStaysWhenKept) {
    InstallFull();
    Uninstall(true);
    EXPECT_TRUE(Has("SAV"));
    EXPECT_TRUE(Exists(kParent));
}

TEST_F(UninstallRunTest, WhatCannotBeRemovedStaysAndTheRunCompletes) {
    InstallFull();
    ASSERT_TRUE(WriteHostFile(HostPath(kInstallDir + "\\TXT\\MINE\\notes.txt"), "user's"));
    ASSERT_TRUE(testsupport::SetHostReadOnly(HostPath(kInstallDir + "\\MCG\\MCG_00.DAT"), true));
    Uninstall(false);
    EXPECT_TRUE(HostFileExists(HostPath(kInstallDir + "\\TXT\\MINE\\notes.txt")));
    EXPECT_TRUE(Has("MCG\\MCG_00.DAT"));
    EXPECT_FALSE(Has("MCG\\MCG_01.DAT"));
    EXPECT_FALSE(Has("TXT\\TXT_00.DAT"));
    EXPECT_FALSE(Has("KARVEX34.EXE"));
    EXPECT_FALSE(Has("SAV"));
    EXPECT_TRUE(Exists(kParent));
    EXPECT_TRUE(ReadRecord().empty());
    EXPECT_FALSE(Exists(ProgramsLink()));
}

TEST_F(UninstallRunTest, AnsweringNoChangesNothing) {
    InstallFull();
    Restart();
    Answer({plat::kIdNo});
    Click(IDC_UNINSTALL_RUN);
    EXPECT_FALSE(host().Ended());
    EXPECT_TRUE(host().IsEnabled(IDC_UNINSTALL_RUN));
    EXPECT_EQ(host().Messages().size(), 1u);
    EXPECT_EQ(host().Messages()[0].flags, 0x44u);
    EXPECT_EQ(host().Messages()[0].text, "アンインストールを開始します。");
    EXPECT_TRUE(Has("KARVEX34.EXE"));
    EXPECT_FALSE(ReadRecord().empty());
    EXPECT_TRUE(Exists(ProgramsLink()));
}

TEST_F(UninstallRunTest, NormalInstallLeavesAForeignMusicFolderAlone) {
    WriteRecord({{"Path", kInstallDir}, {"CDPath", "Q:\\"}, {"SetupMode", "Setup_MAX"}}, 1u);
    ASSERT_TRUE(WriteHostFile(HostPath(kInstallDir + "\\KOE\\KOE_00.DAT"), "v"));
    ASSERT_TRUE(WriteHostFile(HostPath(kInstallDir + "\\BGM\\BGM_00.DAT"), "m"));
    Uninstall(false);
    EXPECT_FALSE(Has("KOE"));
    EXPECT_TRUE(Has("BGM\\BGM_00.DAT"));
    EXPECT_TRUE(ReadRecord().empty());
}

// With no folder on record, paths would be built at the root of the current drive.
TEST_F(UninstallRunTest, DamagedRecordRemovesOnlyRecordAndShortcuts) {
    WriteRecord({{"SetupMode", "Setup_MIN"}, {"Path", kInstallDir}}, std::nullopt);
    for (const char* file : {"C:\\KARVEX34.EXE", "C:\\CUR\\CUR_00.DAT", "C:\\SAV\\S.DAT"})
        ASSERT_TRUE(WriteHostFile(HostPath(file), "not ours"));
    Uninstall(false);
    EXPECT_EQ(dlg().m_nInstallState, 1);
    for (const char* file : {"C:\\KARVEX34.EXE", "C:\\CUR\\CUR_00.DAT", "C:\\SAV\\S.DAT"})
        EXPECT_TRUE(HostFileExists(HostPath(file))) << file;
    EXPECT_TRUE(ReadRecord().empty());
}

}  // namespace
