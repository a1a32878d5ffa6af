#include <gtest/gtest.h>

#include "tests/core/dialog_fixture.h"

namespace {

using testsupport::HostFileExists;
using testsupport::ReadHostFile;
using testsupport::WriteHostFile;

const std::string kInstalled = "ハルネアの\nインストールが終了しました。";
const std::string kFailed = "エラーのため、インストールを中断しました。";
constexpr std::uint64_t kPlenty = 64ull << 30;

class InstallRunTest : public DialogFixture {
protected:
    void SetUp() override { faults().freeBytes['C'] = kPlenty; }

    // A fresh system's start: choose the drives as the user would.
    void StartAndChooseDrives() {
        Start();
        Select(IDC_SOURCE_DRIVE, "Q");
        Select(IDC_DEST_DRIVE, "C");
    }
    // Clicks the install button, answering the final message with OK.
    void Install() {
        Answer({plat::kIdOk});
        Click(IDC_INSTALL_RUN);
    }
    const HeadlessDialogHost::MessageRecord& LastMessage() {
        static const HeadlessDialogHost::MessageRecord none{"<none>", 0, 0};
        return host().Messages().empty() ? none : host().Messages().back();
    }
    bool Has(const std::string& relative) { return Exists(kInstallDir + "\\" + relative); }
    std::string ProgramsLink() { return ShellFolder("Programs") + "\\Velstra\\ハルネア\\ハルネア.lnk"; }
    std::string DesktopLink() { return ShellFolder("Desktop") + "\\ハルネア.lnk"; }
};

TEST_F(InstallRunTest, FreshFullInstallWithBothShortcuts) {
    InsertDisc();
    StartAndChooseDrives();
    ASSERT_TRUE(host().IsEnabled(IDC_INSTALL_RUN));
    Click(IDC_SHORTCUT_PROGRAMS);
    Click(IDC_SHORTCUT_DESKTOP);
    Install();

    ASSERT_EQ(host().Messages().size(), 1u);
    EXPECT_EQ(LastMessage().text, kInstalled);
    EXPECT_EQ(LastMessage().flags, 0x40u);
    EXPECT_TRUE(host().Ended());
    EXPECT_EQ(host().EndResult(), plat::kIdOk);
    EXPECT_TRUE(host().IsVisible(IDC_PROGRESS));
    EXPECT_EQ(host().WaitCursorDepth(), 0);
    EXPECT_FALSE(host().RunActive());

    for (const char* item : {"KARVEX34.EXE", "KARVEX34.DAT", "SAV", "CUR\\SUB\\DEEP\\CUR_D0.DAT", "MSE\\MSE_00.DAT",
                             "KOE\\KOE_00.DAT", "BGM\\BGM_00.DAT", "MOV\\SUB\\MOV_S0.DAT"})
        EXPECT_TRUE(Has(item)) << item;
    EXPECT_FALSE(Has("install.ini"));
    EXPECT_EQ(ReadRecord(), (std::map<std::string, std::string>{{"Path", kInstallDir},
                                                               {"CDPath", kInstallDir},
                                                               {"SetupMode", "Setup_MAX"},
                                                               {"Install KOE", "dword:1"}}));
    EXPECT_TRUE(Exists(ProgramsLink())) << ProgramsLink();
    EXPECT_TRUE(Exists(DesktopLink())) << DesktopLink();
}

// Each start offers only the larger modes and copies only what the installed one lacks.
TEST_F(InstallRunTest, UpgradesOverThreeStartsCopyOnlyTheMissingSets) {
    InsertDisc({.markerInSubfolder = true});
    StartAndChooseDrives();
    Click(IDC_MODE_MIN);
    Install();
    EXPECT_EQ(LastMessage().text, kInstalled);
    EXPECT_EQ(ReadRecord(), (std::map<std::string, std::string>{{"Path", kInstallDir},
                                                               {"CDPath", "Q:\\Tazmel\\"},
                                                               {"SetupMode", "Setup_MIN"},
                                                               {"Install KOE", "dword:0"}}));
    EXPECT_TRUE(Has("CUR\\CUR_00.DAT"));
    EXPECT_FALSE(Has("KOE"));

    // The user's changes to installed data show whether a later run copies it again.
    const std::string edited = HostPath(kInstallDir + "\\CUR\\CUR_00.DAT");
    ASSERT_TRUE(WriteHostFile(edited, "edited"));

    Restart();
    EXPECT_EQ(dlg().m_nInstallState, 1);
    EXPECT_FALSE(host().IsEnabled(IDC_MODE_MIN));
    EXPECT_EQ(host().GetItemText(IDC_SOURCE_DRIVE, host().GetCurSel(IDC_SOURCE_DRIVE)), "Q");
    EXPECT_EQ(host().GetItemText(IDC_DEST_DRIVE, host().GetCurSel(IDC_DEST_DRIVE)), "C");
    Click(IDC_MODE_NORMAL);
    Install();
    EXPECT_EQ(LastMessage().text, kInstalled);
    EXPECT_TRUE(Has("KOE\\KOE_00.DAT"));
    EXPECT_FALSE(Has("BGM"));
    EXPECT_EQ(ReadHostFile(edited), "edited");
    EXPECT_EQ(ReadRecord(), (std::map<std::string, std::string>{{"Path", kInstallDir},
                                                               {"CDPath", "Q:\\Tazmel\\"},
                                                               {"SetupMode", "Setup_MAX"},
                                                               {"Install KOE", "dword:1"}}));
    ASSERT_TRUE(WriteHostFile(HostPath(kInstallDir + "\\KOE\\KOE_00.DAT"), "edited"));

    Restart();
    EXPECT_EQ(dlg().m_nInstallState, 2);
    EXPECT_FALSE(host().IsEnabled(IDC_MODE_NORMAL));
    Install();  // full is checked at start
    EXPECT_EQ(LastMessage().text, kInstalled);
    EXPECT_TRUE(Has("BGM\\BGM_00.DAT"));
    EXPECT_TRUE(Has("MOV\\MOV_00.DAT"));
    EXPECT_EQ(ReadHostFile(edited), "edited");
    EXPECT_EQ(ReadHostFile(HostPath(kInstallDir + "\\KOE\\KOE_00.DAT")), "edited");
    EXPECT_EQ(ReadRecord()["CDPath"], kInstallDir);

    Restart();
    EXPECT_EQ(dlg().m_nInstallState, 3);
    EXPECT_FALSE(host().IsEnabled(IDC_INSTALL_RUN));
}

TEST_F(InstallRunTest, DiscPromptRepeatsUntilTheDiscIsThere) {
    InsertDisc();
    StartAndChooseDrives();
    ASSERT_TRUE(host().IsEnabled(IDC_INSTALL_RUN));
    EjectDisc();
    int prompts = 0;
    host().SetAnswerer([&](const std::string& text, unsigned flags) {
        if (flags == 0x31) {
            EXPECT_EQ(text, "ゲームディスクをドライブ Q: に入れてください。");
            if (++prompts == 2) InsertDisc();  // the user inserts it before the second OK
            return plat::kIdOk;
        }
        return plat::kIdOk;
    });
    Click(IDC_INSTALL_RUN);
    EXPECT_EQ(prompts, 2);
    EXPECT_EQ(LastMessage().text, kInstalled);
    EXPECT_EQ(ReadRecord()["SetupMode"], "Setup_MAX");
}

TEST_F(InstallRunTest, CancellingTheDiscPromptInstallsNothing) {
    InsertDisc();
    StartAndChooseDrives();
    EjectDisc();
    Answer({plat::kIdOk, plat::kIdCancel, plat::kIdOk});
    Click(IDC_INSTALL_RUN);
    ASSERT_EQ(host().Messages().size(), 3u);
    EXPECT_EQ(host().Messages()[0].flags, 0x31u);
    EXPECT_EQ(host().Messages()[1].flags, 0x31u);
    EXPECT_EQ(LastMessage().text, kFailed);
    EXPECT_EQ(LastMessage().flags, 0x30u);
    EXPECT_TRUE(host().Ended());
    EXPECT_EQ(host().WaitCursorBegins(), 0);
    EXPECT_FALSE(host().IsVisible(IDC_PROGRESS));
    EXPECT_FALSE(Exists(kInstallDir));
    EXPECT_TRUE(ReadRecord().empty());
}

TEST_F(InstallRunTest, FailingVoiceSetLeavesTheBaseWithTheMinimumRecord) {
    InsertDisc();
    faults().failReadName = "KOE_01.DAT";
    StartAndChooseDrives();
    Click(IDC_MODE_NORMAL);
    Click(IDC_SHORTCUT_DESKTOP);
    Install();
    EXPECT_EQ(LastMessage().text, kFailed);
    EXPECT_EQ(LastMessage().flags, 0x30u);
    EXPECT_TRUE(Has("CUR\\CUR_00.DAT"));
    EXPECT_EQ(ReadRecord()["SetupMode"], "Setup_MIN");
    EXPECT_EQ(ReadRecord()["Install KOE"], "dword:0");
    EXPECT_FALSE(Exists(DesktopLink()));
}

TEST_F(InstallRunTest, FailingProgramsShortcutSkipsTheDesktopOne) {
    InsertDisc();
    {
        // The Programs folder on a drive that does not exist: that link cannot be saved.
        plat::Registry& registry = platform().registry;
        plat::RegKeyHandle key = plat::kNullKey;
        ASSERT_EQ(registry.OpenKey(plat::kHkeyCurrentUser,
                                   "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                                   plat::kKeyAllAccess, &key),
                  plat::kErrorSuccess);
        const std::string nowhere = "Z:\\Programs";
        registry.SetValue(key, "Programs", plat::kRegSz, reinterpret_cast<const unsigned char*>(nowhere.c_str()),
                          static_cast<std::uint32_t>(nowhere.size() + 1));
        registry.CloseKey(key);
    }
    StartAndChooseDrives();
    Click(IDC_SHORTCUT_PROGRAMS);
    Click(IDC_SHORTCUT_DESKTOP);
    Install();
    EXPECT_EQ(LastMessage().text, kFailed);
    EXPECT_EQ(ReadRecord()["CDPath"], kInstallDir);  // the data and the record stay
    EXPECT_FALSE(Exists(DesktopLink()));
    EXPECT_EQ(counters().linksSaved, 0);
}

TEST_F(InstallRunTest, NoShortcutRequestedMakesNone) {
    InsertDisc();
    faults().failLinkSave = true;  // would fail the run if a link were attempted
    StartAndChooseDrives();
    Install();
    EXPECT_EQ(LastMessage().text, kInstalled);
    EXPECT_FALSE(Exists(ShellFolder("Programs") + "\\Velstra"));
}

TEST_F(InstallRunTest, ProgramFileFailureWritesNoRecord) {
    InsertDisc();
    faults().failReadName = "KARVEX34.DAT";
    StartAndChooseDrives();
    Install();
    EXPECT_EQ(LastMessage().text, kFailed);
    EXPECT_TRUE(Has("KARVEX34.EXE"));
    EXPECT_FALSE(Has("KARVEX34.DAT"));
    EXPECT_FALSE(Has("CUR"));
    EXPECT_TRUE(ReadRecord().empty());
}

TEST_F(InstallRunTest, DiskFullDuringMediaKeepsTheNormalRecord) {
    const auto disc = InsertDisc({.largeFileSize = 3 << 20});
    std::uint64_t beforeMedia = 0;
    for (const auto& file : disc.files)
        if (file.topFolder != "BGM" && file.topFolder != "MOV" && file.path != "install.ini") beforeMedia += file.size;
    faults().diskFullAfterBytes = beforeMedia + (1 << 20);
    StartAndChooseDrives();
    Install();
    EXPECT_EQ(LastMessage().text, kFailed);
    EXPECT_EQ(ReadRecord()["SetupMode"], "Setup_MAX");
    EXPECT_EQ(ReadRecord()["CDPath"], "Q:\\");
    EXPECT_FALSE(HostFileExists(HostPath(kInstallDir + "\\BGM\\BGM_BIG.DAT")));
}

// A record that names no folder must not make the run install at the root of a drive.
TEST_F(InstallRunTest, DamagedRecordWithoutFolderInstallsNothing) {
    InsertDisc();
    WriteRecord({{"SetupMode", "Setup_MIN"}}, 0u);
    Start();
    EXPECT_EQ(dlg().m_nInstallState, 1);
    EXPECT_EQ(dlg().m_strInstallDir, "");
    EXPECT_FALSE(host().IsEnabled(IDC_INSTALL_RUN));
    const std::vector<std::string> rootBefore = testsupport::ListHostFolder(HostPath("C:\\"));
    Answer({plat::kIdOk});
    dlg().OnInstall();
    EXPECT_EQ(LastMessage().text, kFailed);
    EXPECT_EQ(testsupport::ListHostFolder(HostPath("C:\\")), rootBefore);
    EXPECT_FALSE(Exists("C:\\KARVEX34.EXE"));
    EXPECT_FALSE(Exists("C:\\KOE"));
}

}  // namespace
