// The install record through its life: written level by level by the install run, read
// back at the next start, removed by the uninstall run; and the hive names that lead to it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/core/registry_test_env.h"

namespace {

constexpr const char* kInstallDir = "C:\\Program Files\\Velstra\\Mirel";
constexpr const char* kSourceRoot = "Q:\\";

struct HiveCase {
    std::string name;
    plat::RegKeyHandle root;
};

TEST(ResolveHive, NamesFromTheTableIgnoringCaseAndNothingElse) {
    const std::vector<HiveCase> cases = {
        {"HKCU", plat::kHkeyCurrentUser},
        {"hkcu", plat::kHkeyCurrentUser},
        {"hkey_current_user", plat::kHkeyCurrentUser},
        {"HKEY_CURRENT_USER", plat::kHkeyCurrentUser},
        {"HKCR", plat::kHkeyClassesRoot},
        {"HKEY_CLASSES_ROOT", plat::kHkeyClassesRoot},
        {"HKLM", plat::kHkeyLocalMachine},
        {"Hkey_Local_Machine", plat::kHkeyLocalMachine},
        {"HKU", plat::kHkeyUsers},
        {"HKEY_USERS", plat::kHkeyUsers},
        {"HKPD", plat::kHkeyPerformanceData},
        {"HKEY_PERFORMANCE_DATA", plat::kHkeyPerformanceData},
        {"HKDD", plat::kHkeyDynData},
        {"HKEY_DYN_DATA", plat::kHkeyDynData},
        {"HKCC", plat::kHkeyCurrentConfig},
        {"HKEY_CURRENT_CONFIG", plat::kHkeyCurrentConfig},
        // The name is a C string: what follows a zero byte is not part of it.
        {std::string("HKCU\0junk", 9), plat::kHkeyCurrentUser},
        {"HKEY_CURRENT_USER ", plat::kNullKey},
        {" HKCU", plat::kNullKey},
        {"", plat::kNullKey},
        {"HKC", plat::kNullKey},
        {"HKEY_CURRENT_USER\\Software", plat::kNullKey},
        {"HKEY_LOCAL_USER", plat::kNullKey},
    };
    RegistryTestEnv env;
    for (const HiveCase& c : cases) {
        EXPECT_EQ(env.dlg.ResolveHive(c.name), c.root) << "hive name [" << c.name << "]";
    }
}

// Runs the named writers in order on one dialog, as the install run does.
int RunWriters(CInstallerDlg& dlg, const std::string& writers) {
    int result = 1;
    for (char writer : writers) {
        if (writer == 'm') result = dlg.WriteMinimumRecord();
        if (writer == 'n') result = dlg.WriteNormalRecord();
        if (writer == 'f') result = dlg.WriteFullRecord();
        if (!result) break;
    }
    return result;
}

struct RecordCase {
    const char* writers;  // m minimum, n normal, f full
    const char* cdPath;
    const char* setupMode;
    std::uint32_t voice;
    int detected;
};

TEST(InstallRecord, WrittenLevelByLevelReadBackAndRemoved) {
    const std::vector<RecordCase> cases = {
        {"m", kSourceRoot, "Setup_MIN", 0, 1},
        {"mn", kSourceRoot, "Setup_MAX", 1, 2},
        {"mnf", kInstallDir, "Setup_MAX", 1, 3},
        // A new minimum install over a full one rewrites all four values.
        {"mnfm", kSourceRoot, "Setup_MIN", 0, 1},
    };
    for (const RecordCase& c : cases) {
        SCOPED_TRACE(c.writers);
        RegistryTestEnv env;
        env.dlg.m_strInstallDir = kInstallDir;
        env.dlg.m_strSourceRoot = kSourceRoot;
        ASSERT_EQ(RunWriters(env.dlg, c.writers), 1);
        EXPECT_EQ(env.OpenKeys(), 0);

        EXPECT_EQ(env.Value(kRecordKey, "Path"), Sz(kInstallDir));
        EXPECT_EQ(env.Value(kRecordKey, "CDPath"), Sz(c.cdPath));
        EXPECT_EQ(env.Value(kRecordKey, "SetupMode"), Sz(c.setupMode));
        EXPECT_EQ(env.Value(kRecordKey, "Install KOE"), Dword(c.voice));

        // The next start of the installer.
        CInstallerDlg next(env.faults.platform(), env.host);
        EXPECT_EQ(next.DetectInstallState(), c.detected);
        EXPECT_EQ(next.m_strInstallDir, kInstallDir);
        EXPECT_EQ(next.m_strSourceRoot, c.cdPath);
        EXPECT_EQ(env.OpenKeys(), 0);

        // Uninstalling takes the record and the emptied publisher key, never Software.
        EXPECT_EQ(next.DeleteRegistryTree(next.LoadString(103), 1, 1), 1);
        EXPECT_FALSE(env.KeyExists(kRecordKey));
        EXPECT_FALSE(env.KeyExists(kPublisherKey));
        EXPECT_TRUE(env.KeyExists("Software"));
        EXPECT_EQ(env.OpenKeys(), 0);

        CInstallerDlg afterUninstall(env.faults.platform(), env.host);
        EXPECT_EQ(afterUninstall.DetectInstallState(), 0);
        EXPECT_EQ(afterUninstall.m_strInstallDir, "");
    }
}

TEST(InstallRecord, EmptySourceRootIsStoredAsOneZeroByte) {
    RegistryTestEnv env;
    env.dlg.m_strInstallDir = kInstallDir;
    ASSERT_EQ(env.dlg.WriteMinimumRecord(), 1);
    EXPECT_EQ(env.Value(kRecordKey, "CDPath"), (RawValue{plat::kRegSz, std::string(1, '\0')}));
}

TEST(InstallRecord, RaisingWritersNeedAnExistingRecord) {
    for (const char* writer : {"n", "f"}) {
        SCOPED_TRACE(writer);
        RegistryTestEnv env;
        env.dlg.m_strInstallDir = kInstallDir;
        EXPECT_EQ(RunWriters(env.dlg, writer), 0);
        EXPECT_FALSE(env.KeyExists(kRecordKey));
        EXPECT_FALSE(env.KeyExists(kPublisherKey));
    }
}

struct BadKeyCase {
    std::string recordKey;  // string 103
    const char* keyThatMustNotExist;
};

TEST(InstallRecord, WritersRefuseAKeyPathTheyCannotPlace) {
    const std::vector<BadKeyCase> cases = {
        {"HKEY_NOWHERE\\Software\\Velstra\\Mirel", kPublisherKey},
        {"", kPublisherKey},
        // No key below the hive: the values would otherwise land in the hive's root.
        {"HKCU", "HKCU"},
        {"HKCU\\", kPublisherKey},
        // Hives the registry does not keep.
        {"HKPD\\Software\\Velstra\\Mirel", kPublisherKey},
        {"HKDD\\Software\\Velstra\\Mirel", kPublisherKey},
    };
    for (const BadKeyCase& c : cases) {
        SCOPED_TRACE("string 103 = [" + c.recordKey + "]");
        RegistryTestEnv env;
        env.strings.Set(103, c.recordKey);
        env.dlg.m_strInstallDir = kInstallDir;
        env.dlg.m_strSourceRoot = kSourceRoot;
        EXPECT_EQ(env.dlg.WriteMinimumRecord(), 0);
        EXPECT_EQ(env.dlg.WriteNormalRecord(), 0);
        EXPECT_EQ(env.dlg.WriteFullRecord(), 0);
        EXPECT_FALSE(env.KeyExists(c.keyThatMustNotExist));
        EXPECT_FALSE(env.Value("", "SetupMode").has_value());
        EXPECT_EQ(env.OpenKeys(), 0);
    }
}

struct SetFailureCase {
    const char* writer;
    int failingSet;  // counted over the writer's own value writes
    std::vector<const char*> written;
    std::vector<const char*> notWritten;
};

TEST(InstallRecord, AValueThatCannotBeWrittenStopsTheWriterThere) {
    const std::vector<SetFailureCase> cases = {
        {"m", 1, {}, {"Path", "CDPath", "SetupMode", "Install KOE"}},
        {"m", 2, {"Path"}, {"CDPath", "SetupMode", "Install KOE"}},
        {"m", 3, {"Path", "CDPath"}, {"SetupMode", "Install KOE"}},
        {"m", 4, {"Path", "CDPath", "SetupMode"}, {"Install KOE"}},
    };
    for (const SetFailureCase& c : cases) {
        SCOPED_TRACE(std::string(c.writer) + " failing at set " + std::to_string(c.failingSet));
        RegistryTestEnv env;
        env.plan().countdowns = {faultplat::Countdown::Nth(faultplat::Op::RegistrySet, c.failingSet)};
        env.dlg.m_strInstallDir = kInstallDir;
        env.dlg.m_strSourceRoot = kSourceRoot;

        EXPECT_EQ(RunWriters(env.dlg, c.writer), 0);
        EXPECT_TRUE(env.KeyExists(kRecordKey));
        for (const char* name : c.written) EXPECT_TRUE(env.Value(kRecordKey, name).has_value()) << name;
        for (const char* name : c.notWritten) EXPECT_FALSE(env.Value(kRecordKey, name).has_value()) << name;
        EXPECT_EQ(env.OpenKeys(), 0);
    }
}

TEST(InstallRecord, NormalWriterStoppedAtTheVoiceFlagLeavesTheOldFlag) {
    RegistryTestEnv env;
    env.dlg.m_strInstallDir = kInstallDir;
    env.dlg.m_strSourceRoot = kSourceRoot;
    ASSERT_EQ(env.dlg.WriteMinimumRecord(), 1);

    env.plan().countdowns = {faultplat::Countdown::Nth(faultplat::Op::RegistrySet, 2)};
    EXPECT_EQ(env.dlg.WriteNormalRecord(), 0);
    EXPECT_EQ(env.Value(kRecordKey, "SetupMode"), Sz("Setup_MAX"));
    EXPECT_EQ(env.Value(kRecordKey, "Install KOE"), Dword(0));
    EXPECT_EQ(env.OpenKeys(), 0);
}

}  // namespace
