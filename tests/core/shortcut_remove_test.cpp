// Taking the shortcuts away on uninstall: the link files always, the Programs-menu
// folders only when nothing else lives in them.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/core/registry_test_env.h"

namespace {

constexpr const char* kDesktop = "C:\\Users\\me\\Desktop";
constexpr const char* kPrograms = "C:\\Users\\me\\Start Menu\\Programs";
const std::string kPublisherFolder = std::string(kPrograms) + "\\Velstra";
const std::string kTitleFolder = kPublisherFolder + "\\ハルネア";
const std::string kProgramsLink = kTitleFolder + "\\ハルネア.lnk";
const std::string kDesktopLink = std::string(kDesktop) + "\\ハルネア.lnk";

struct RemoveCase {
    const char* name;
    std::string programs;  // the Programs value in the registry
    std::function<void(RegistryTestEnv&)> setUp;
    std::vector<std::string> present;
    std::vector<std::string> absent;
};

void CreateBoth(RegistryTestEnv& env) {
    env.dlg.m_strInstallDir = "C:\\Program Files\\Velstra\\Mirel";
    ASSERT_EQ(env.dlg.CreateShellShortcut(1), 1);
    ASSERT_EQ(env.dlg.CreateShellShortcut(0), 1);
}

TEST(RemoveShellShortcut, RemovesLinksAndOnlyEmptiedMenuFolders) {
    const std::vector<RemoveCase> cases = {
        {"both shortcuts made by the installer", kPrograms, CreateBoth, {kPrograms, kDesktop},
         {kProgramsLink, kTitleFolder, kPublisherFolder, kDesktopLink}},
        {"Programs value with a trailing backslash", std::string(kPrograms) + "\\", CreateBoth, {kPrograms, kDesktop},
         {kProgramsLink, kTitleFolder, kPublisherFolder, kDesktopLink}},
        {"the user's own file in the title folder", kPrograms,
         [](RegistryTestEnv& env) {
             CreateBoth(env);
             env.MakeFile(kTitleFolder + "\\notes.txt");
         },
         {kTitleFolder + "\\notes.txt", kPublisherFolder}, {kProgramsLink, kDesktopLink}},
        {"another product's folder below the publisher", kPrograms,
         [](RegistryTestEnv& env) {
             CreateBoth(env);
             env.MakeFolder(kPublisherFolder + "\\Other Game");
         },
         {kPublisherFolder + "\\Other Game"}, {kProgramsLink, kTitleFolder, kDesktopLink}},
        {"shortcuts never made", kPrograms,
         [](RegistryTestEnv& env) {
             env.MakeFolder(kPrograms);
             env.MakeFolder(kDesktop);
         },
         {kPrograms, kDesktop}, {kPublisherFolder}},
    };
    for (const RemoveCase& c : cases) {
        SCOPED_TRACE(c.name);
        RegistryTestEnv env;
        env.SetShellFolders(kDesktop, c.programs);
        c.setUp(env);

        EXPECT_EQ(env.dlg.RemoveShellShortcut(1), 1);
        EXPECT_EQ(env.dlg.RemoveShellShortcut(0), 1);
        for (const std::string& path : c.present) EXPECT_TRUE(env.Exists(path)) << path << " should remain";
        for (const std::string& path : c.absent) EXPECT_FALSE(env.Exists(path)) << path << " should be gone";
        EXPECT_EQ(env.OpenKeys(), 0);
    }
}

TEST(RemoveShellShortcut, TouchesNothingWithoutAKnownFolder) {
    RegistryTestEnv env;
    env.SetShellFolders(kDesktop, kPrograms);
    CreateBoth(env);
    for (int code : {-1, 2}) EXPECT_EQ(env.dlg.RemoveShellShortcut(code), 0) << code;

    env.DeleteKey(kShellFoldersKey);
    EXPECT_EQ(env.dlg.RemoveShellShortcut(1), 0);
    EXPECT_EQ(env.dlg.RemoveShellShortcut(0), 0);
    EXPECT_TRUE(env.Exists(kProgramsLink));
    EXPECT_TRUE(env.Exists(kDesktopLink));
    EXPECT_EQ(env.OpenKeys(), 0);
}

}  // namespace
