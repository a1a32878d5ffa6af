// Making the Programs-menu and desktop shortcuts: where the link file goes, what it
// points at, and when none is made.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/core/registry_test_env.h"
#include "tests/support/fixtures/root_platform.h"

namespace {

constexpr const char* kDesktop = "C:\\Users\\me\\Desktop";
constexpr const char* kPrograms = "C:\\Users\\me\\Start Menu\\Programs";
constexpr const char* kInstallDir = "C:\\Program Files\\Velstra\\Mirel";
constexpr const char* kTarget = "C:\\Program Files\\Velstra\\Mirel\\KARVEX34.EXE";
const std::string kProgramsLink = std::string(kPrograms) + "\\Velstra\\ハルネア\\ハルネア.lnk";
const std::string kDesktopLink = std::string(kDesktop) + "\\ハルネア.lnk";

std::string Narrow(const std::u16string& wide) {
    std::string text;
    EXPECT_TRUE(testsupport::Utf16ToUtf8(wide, &text));
    return text;
}

struct CreateCase {
    const char* name;
    int code;
    std::string desktop;
    std::string programs;
    std::string installDir;
    std::string linkFile;
    std::string workingDirectory;
};

TEST(CreateShellShortcut, LinkFileAndTargetFollowTheFolderRules) {
    const std::vector<CreateCase> cases = {
        {"Programs menu", 1, kDesktop, kPrograms, kInstallDir, kProgramsLink, kInstallDir},
        {"Programs folder with a trailing backslash", 1, kDesktop, std::string(kPrograms) + "\\", kInstallDir,
         kProgramsLink, kInstallDir},
        {"Programs folder with two trailing backslashes", 1, kDesktop, std::string(kPrograms) + "\\\\", kInstallDir,
         kProgramsLink, kInstallDir},
        {"desktop", 0, kDesktop, kPrograms, kInstallDir, kDesktopLink, kInstallDir},
        {"desktop folder with a trailing backslash", 0, std::string(kDesktop) + "\\", kPrograms, kInstallDir,
         kDesktopLink, kInstallDir},
        // The target gets exactly one backslash; the working folder is taken as held.
        {"install folder with a trailing backslash", 0, kDesktop, kPrograms, std::string(kInstallDir) + "\\",
         kDesktopLink, std::string(kInstallDir) + "\\"},
        {"install folder with two trailing backslashes", 1, kDesktop, kPrograms, std::string(kInstallDir) + "\\\\",
         kProgramsLink, std::string(kInstallDir) + "\\\\"},
    };
    for (const CreateCase& c : cases) {
        SCOPED_TRACE(c.name);
        RegistryTestEnv env;
        env.SetShellFolders(c.desktop, c.programs);
        env.dlg.m_strInstallDir = c.installDir;

        EXPECT_EQ(env.dlg.CreateShellShortcut(c.code), 1);
        ASSERT_EQ(env.Links().size(), 1u);
        const faultplat::LinkRecord& link = env.Links()[0];
        EXPECT_EQ(link.path, kTarget);
        EXPECT_TRUE(link.argumentsCleared);
        EXPECT_EQ(link.workingDirectory, c.workingDirectory);
        ASSERT_EQ(link.saves.size(), 1u);
        EXPECT_EQ(Narrow(link.saves[0]), c.linkFile);
        EXPECT_TRUE(env.Exists(c.linkFile));
        EXPECT_EQ(env.OpenKeys(), 0);
    }
}

TEST(CreateShellShortcut, ProgramsMenuFirstThenDesktopBothOnDisk) {
    RegistryTestEnv env;
    env.SetShellFolders(kDesktop, kPrograms);
    env.dlg.m_strInstallDir = kInstallDir;

    EXPECT_EQ(env.dlg.CreateShellShortcut(1), 1);
    EXPECT_EQ(env.dlg.CreateShellShortcut(0), 1);
    ASSERT_EQ(env.Links().size(), 2u);
    ASSERT_EQ(env.Links()[0].saves.size(), 1u);
    ASSERT_EQ(env.Links()[1].saves.size(), 1u);
    EXPECT_EQ(Narrow(env.Links()[0].saves[0]), kProgramsLink);
    EXPECT_EQ(Narrow(env.Links()[1].saves[0]), kDesktopLink);
    EXPECT_TRUE(env.Exists(kProgramsLink));
    EXPECT_TRUE(env.Exists(kDesktopLink));
}

struct TitleCase {
    const char* title;  // string 102
    const char* linkFile;
};

TEST(CreateShortcut, AppendsTheExtensionOnlyWhenTheNameLacksIt) {
    const std::vector<TitleCase> cases = {
        {"Game", "C:\\Users\\me\\Desktop\\Game.lnk"},
        {"Game.LNK", "C:\\Users\\me\\Desktop\\Game.LNK"},
        {"Game.Lnk", "C:\\Users\\me\\Desktop\\Game.Lnk"},
        {"Game.ln", "C:\\Users\\me\\Desktop\\Game.ln.lnk"},
    };
    for (const TitleCase& c : cases) {
        SCOPED_TRACE(c.title);
        RegistryTestEnv env;
        env.strings.Set(102, c.title);
        env.dlg.m_strInstallDir = kInstallDir;
        env.MakeFolder(kDesktop);

        EXPECT_EQ(env.dlg.CreateShortcut(kDesktop), 1);
        ASSERT_EQ(env.Links().size(), 1u);
        ASSERT_EQ(env.Links()[0].saves.size(), 1u);
        EXPECT_EQ(Narrow(env.Links()[0].saves[0]), c.linkFile);
        EXPECT_TRUE(env.Exists(c.linkFile));
    }
}

// A folder of exactly `length` characters, ending with a backslash, in 100-character levels.
std::string FolderOfLength(std::size_t length) {
    std::string folder = "C:\\";
    while (folder.size() < length) {
        const std::size_t room = length - folder.size();
        const std::size_t level = room > 101 ? 100 : room - 1;
        folder += std::string(level, 'd') + "\\";
    }
    return folder;
}

struct LengthCase {
    std::size_t units;  // UTF-16 units of the link file name, "ハルネア.lnk" being 8
    int result;
};

TEST(CreateShortcut, ALinkNameTheShellCannotHoldMakesNoLink) {
#ifdef _WIN32
    // The system's ANSI calls make no folder as long as the last case needs.
    const std::vector<LengthCase> cases = {{259, 1}, {260, 0}};
#else
    const std::vector<LengthCase> cases = {{259, 1}, {260, 0}, {300, 0}};
#endif
    for (const LengthCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.units) + " units");
        RegistryTestEnv env;
        env.dlg.m_strInstallDir = kInstallDir;
        const std::string folder = FolderOfLength(c.units - 8);
        ASSERT_EQ(folder.size(), c.units - 8);
        env.MakeFolder(folder);

        EXPECT_EQ(env.dlg.CreateShortcut(folder), c.result);
        ASSERT_EQ(env.Links().size(), 1u);
        EXPECT_EQ(env.Links()[0].saves.size(), static_cast<std::size_t>(c.result));
        EXPECT_EQ(env.Exists(folder + "ハルネア.lnk"), c.result == 1);
    }
}

TEST(CreateShellShortcut, RefusedWithoutAKnownFolder) {
    for (int code : {-1, 2, 3}) {
        SCOPED_TRACE(code);
        RegistryTestEnv env;
        env.SetShellFolders(kDesktop, kPrograms);
        env.dlg.m_strInstallDir = kInstallDir;
        EXPECT_EQ(env.dlg.CreateShellShortcut(code), 0);
        EXPECT_TRUE(env.Links().empty());
        EXPECT_FALSE(env.Exists(kDesktop));
        EXPECT_FALSE(env.Exists(kPrograms));
    }

    RegistryTestEnv noValue;
    noValue.SetShellFolders(kDesktop, kPrograms);
    noValue.DeleteKey(kShellFoldersKey);
    noValue.PutString(kShellFoldersKey, "Desktop", kDesktop);
    noValue.dlg.m_strInstallDir = kInstallDir;
    EXPECT_EQ(noValue.dlg.CreateShellShortcut(1), 0);
    EXPECT_FALSE(noValue.Exists(kPrograms));
    EXPECT_EQ(noValue.dlg.CreateShellShortcut(0), 1);

    RegistryTestEnv noKey;
    noKey.SetShellFolders(kDesktop, kPrograms);
    noKey.DeleteKey(kShellFoldersKey);
    noKey.dlg.m_strInstallDir = kInstallDir;
    EXPECT_EQ(noKey.dlg.CreateShellShortcut(0), 0);
    EXPECT_EQ(noKey.dlg.CreateShellShortcut(1), 0);
    EXPECT_TRUE(noKey.Links().empty());
    EXPECT_EQ(noKey.OpenKeys(), 0);
}

TEST(CreateShellShortcut, FailsWhenTheLinkCannotBeMadeOrSaved) {
    RegistryTestEnv unavailable;
    unavailable.SetShellFolders(kDesktop, kPrograms);
    unavailable.dlg.m_strInstallDir = kInstallDir;
    unavailable.plan().linkUnavailable = true;
    EXPECT_EQ(unavailable.dlg.CreateShellShortcut(1), 0);
    // The folders come before the link object.
    EXPECT_TRUE(unavailable.Exists(std::string(kPrograms) + "\\Velstra\\ハルネア"));
    EXPECT_FALSE(unavailable.Exists(kProgramsLink));

    RegistryTestEnv env;
    env.SetShellFolders(kDesktop, kPrograms);
    env.plan().failLinkSave = true;
    env.dlg.m_strInstallDir = kInstallDir;
    EXPECT_EQ(env.dlg.CreateShellShortcut(1), 0);
    EXPECT_EQ(env.dlg.CreateShellShortcut(0), 0);
    EXPECT_FALSE(env.Exists(kProgramsLink));
    EXPECT_FALSE(env.Exists(kDesktopLink));
    EXPECT_EQ(env.OpenKeys(), 0);
}

}  // namespace
