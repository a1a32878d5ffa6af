// A new current-user hive starts with the user's shell folders.
#include "tests/posix/registry/registry_test_support.h"

namespace {

using namespace regtest;
using plat::RegKeyHandle;

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

class ShellFolders : public ::testing::Test {
protected:
    std::string Folder() const { return m_folder.path() + "/registry"; }
    std::string HivePath() const { return Folder() + "/HKEY_CURRENT_USER.reg"; }

    void ExpectSeeded(posixplat::PosixRegistry& registry, const std::string& login) {
        RegKeyHandle key = MustOpen(registry, plat::kHkeyCurrentUser, kShellFolders, plat::kKeyRead);
        const StoredValue desktop = Query(registry, key, "Desktop");
        const StoredValue programs = Query(registry, key, "Programs");
        EXPECT_EQ(desktop.type, plat::kRegSz);
        EXPECT_EQ(desktop.bytes, "C:\\users\\" + login + "\\Desktop" + '\0');
        EXPECT_EQ(programs.type, plat::kRegSz);
        EXPECT_EQ(programs.bytes,
                  "C:\\users\\" + login + "\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs" + '\0');
        registry.CloseKey(key);
    }

    TempFolder m_folder;
};

TEST_F(ShellFolders, AreThereAtTheFirstReadAndWrittenToTheFile) {
    posixplat::PosixRegistry registry(Folder(), "mirel");
    ExpectSeeded(registry, "mirel");
    const std::string text = ReadFile(HivePath());
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders]\n"
                        "\"Desktop\"=\"C:\\\\users\\\\mirel\\\\Desktop\"\n"),
              std::string::npos)
        << text;
    // Another user's registry object over the same folder finds the hive made: no
    // second seeding.
    posixplat::PosixRegistry later(Folder(), "someone-else");
    ExpectSeeded(later, "mirel");
}

TEST_F(ShellFolders, AreThereWhenTheFirstCallIsAChange) {
    {
        posixplat::PosixRegistry registry(Folder(), "ユーザー");
        RegKeyHandle key = MustCreate(registry, plat::kHkeyCurrentUser, "Software\\Velstra\\Mirel");
        ASSERT_EQ(SetString(registry, key, "Path", "C:\\Program Files\\Velstra\\Mirel"), plat::kErrorSuccess);
        registry.CloseKey(key);
    }
    posixplat::PosixRegistry registry(Folder(), "tester");
    ExpectSeeded(registry, "ユーザー");
}

TEST_F(ShellFolders, AreNotAddedAgainToAnExistingHive) {
    const std::string existing = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Velstra]\n\n";
    std::filesystem::create_directories(Folder());
    WriteFile(HivePath(), existing);
    posixplat::PosixRegistry registry(Folder(), "tester");
    RegKeyHandle key;
    EXPECT_EQ(registry.OpenKey(plat::kHkeyCurrentUser, kShellFolders, plat::kKeyRead, &key), plat::kErrorFileNotFound);
    EXPECT_EQ(registry.OpenKey(plat::kHkeyCurrentUser, "Software\\Velstra", plat::kKeyRead, &key), plat::kErrorSuccess);
    registry.CloseKey(key);
    EXPECT_EQ(ReadFile(HivePath()), existing);  // reading never rewrites
}

TEST_F(ShellFolders, BelongOnlyToTheCurrentUser) {
    posixplat::PosixRegistry registry(Folder(), "tester");
    for (plat::RegKeyHandle root : {plat::kHkeyLocalMachine, plat::kHkeyUsers, plat::kHkeyClassesRoot,
                                    plat::kHkeyCurrentConfig}) {
        RegKeyHandle key;
        EXPECT_EQ(registry.OpenKey(root, kShellFolders, plat::kKeyRead, &key), plat::kErrorFileNotFound);
    }
    // Reading an absent hive creates no file.
    EXPECT_FALSE(std::filesystem::exists(Folder() + "/HKEY_LOCAL_MACHINE.reg"));
}

}  // namespace
