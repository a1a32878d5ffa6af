// A hive file that does not parse is an error for everything touching that hive and is
// never rewritten.
#include <functional>
#include <vector>

#include "tests/posix/registry/registry_test_support.h"

namespace {

using namespace regtest;
using plat::RegKeyHandle;
using plat::RegResult;

const char* const kCorruptHives[] = {
    "",
    "REGEDIT5\n\n",
    "Windows Registry Editor Version 5.00\r\n\r\n",
    "REGEDIT4\n\n\"Orphan\"=\"value before any section\"\n",
    "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\n",
    "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n",
    "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\\\Gap]\n",
    "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\]\n",
    "REGEDIT4\n\n[-HKEY_LOCAL_MACHINE\\Software]\n",
    "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=\"unterminated\n",
    "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=\"bad \\n escape\"\n",
    "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=\"x\" trailing\n",
    "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=dword:123456789\n",
    "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=dword:\n",
    "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=hex:1,2\n",
    "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=hex:00,\n",
    "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=hex(zz):00\n",
    "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=hex(1:00\n",
    "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=hex:00,\\\n",
    "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=-\n",
    "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"\n",
    "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\S]\nA=\"unquoted name\"\n",
    "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=\"x\"\ngarbage\n",
    "\x01\x02\xff binary junk",
};

class CorruptHive : public ::testing::TestWithParam<std::size_t> {
protected:
    std::string Folder() const { return m_folder.path() + "/registry"; }
    std::string HivePath() const { return Folder() + "/HKEY_LOCAL_MACHINE.reg"; }
    TempFolder m_folder;
};

TEST_P(CorruptHive, EveryCallOnTheHiveFailsAndTheFileStaysAsItWas) {
    const std::string corrupt = kCorruptHives[GetParam()];
    std::filesystem::create_directories(Folder());
    posixplat::PosixRegistry registry(Folder(), "tester");
    // A handle opened while the file was sound fails too once it is damaged.
    RegKeyHandle early = MustCreate(registry, plat::kHkeyLocalMachine, "S");
    WriteFile(HivePath(), corrupt);

    const std::pair<const char*, std::function<RegResult(RegKeyHandle)>> calls[] = {
        {"CreateKey", [&](RegKeyHandle h) { RegKeyHandle k; return registry.CreateKey(h, "New", &k); }},
        {"OpenKey", [&](RegKeyHandle h) { RegKeyHandle k; return registry.OpenKey(h, "", plat::kKeyRead, &k); }},
        {"EnumKey", [&](RegKeyHandle h) { char n[8]; std::uint32_t s = 8; return registry.EnumKey(h, 0, n, &s); }},
        {"EnumValue", [&](RegKeyHandle h) { char n[8]; std::uint32_t s = 8; return registry.EnumValue(h, 0, n, &s); }},
        {"QueryValue", [&](RegKeyHandle h) { return Query(registry, h, "A").result; }},
        {"SetValue", [&](RegKeyHandle h) { return SetString(registry, h, "A", "overwrite"); }},
        {"DeleteKey", [&](RegKeyHandle h) { return registry.DeleteKey(h, "S"); }},
    };
    for (RegKeyHandle handle : {plat::kHkeyLocalMachine, early}) {
        for (const auto& [what, call] : calls) EXPECT_EQ(call(handle), plat::kErrorBadDb) << what;
    }
    EXPECT_EQ(ReadFile(HivePath()), corrupt);
    EXPECT_FALSE(std::filesystem::exists(HivePath() + ".tmp"));
    // The front-ends can tell the user which file is damaged, and where.
    std::vector<std::string> problems;
    EXPECT_FALSE(registry.CheckHives(&problems));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].rfind(HivePath() + ": line ", 0), 0u) << problems[0];

    // The other hives are not affected.
    RegKeyHandle users = MustCreate(registry, plat::kHkeyUsers, "Fine");
    EXPECT_EQ(SetString(registry, users, "A", "x"), plat::kErrorSuccess);
    registry.CloseKey(users);
    EXPECT_EQ(registry.CloseKey(early), plat::kErrorSuccess);
}

INSTANTIATE_TEST_SUITE_P(DamagedFiles, CorruptHive, ::testing::Range<std::size_t>(0, std::size(kCorruptHives)));

TEST(CorruptHiveFile, ADamagedCurrentUserHiveIsNotReseeded) {
    TempFolder folder;
    const std::string registryFolder = folder.path() + "/registry";
    std::filesystem::create_directories(registryFolder);
    const std::string path = registryFolder + "/HKEY_CURRENT_USER.reg";
    WriteFile(path, "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\n");
    posixplat::PosixRegistry registry(registryFolder, "tester");
    RegKeyHandle key;
    EXPECT_EQ(registry.OpenKey(plat::kHkeyCurrentUser, "Software", plat::kKeyRead, &key), plat::kErrorBadDb);
    EXPECT_EQ(registry.CreateKey(plat::kHkeyCurrentUser, "Software\\Velstra\\Mirel", &key), plat::kErrorBadDb);
    EXPECT_EQ(ReadFile(path), "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\n");
}

TEST(CorruptHiveFile, AHiveThatIsNotARegularFileIsRefused) {
    TempFolder folder;
    const std::string registryFolder = folder.path() + "/registry";
    std::filesystem::create_directories(registryFolder + "/HKEY_LOCAL_MACHINE.reg");
    posixplat::PosixRegistry registry(registryFolder, "tester");
    RegKeyHandle key;
    EXPECT_EQ(registry.CreateKey(plat::kHkeyLocalMachine, "Software", &key), plat::kErrorBadDb);
    EXPECT_TRUE(std::filesystem::is_directory(registryFolder + "/HKEY_LOCAL_MACHINE.reg"));
    std::vector<std::string> problems;
    EXPECT_FALSE(registry.CheckHives(&problems));
    EXPECT_EQ(problems, std::vector<std::string>{registryFolder + "/HKEY_LOCAL_MACHINE.reg: not a regular file"});
}

}  // namespace
