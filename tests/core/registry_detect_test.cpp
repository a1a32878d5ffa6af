// Recognising an earlier installation from its install record: the state each record
// yields, and every way the walk down to the record can end early.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "registry/name_buffers.h"
#include "tests/core/registry_test_env.h"

namespace {

constexpr const char* kKeptDir = "kept install dir";
constexpr const char* kKeptSource = "kept source root";

void PutRecord(RegistryTestEnv& env, const std::string& key, const std::string& mode, const std::string& path,
               const std::string& cdPath) {
    env.PutString(key, "SetupMode", mode);
    env.PutString(key, "Path", path);
    env.PutString(key, "CDPath", cdPath);
    env.PutDword(key, "Install KOE", 1);
}

void PutFullRecord(RegistryTestEnv& env, const std::string& key) {
    PutRecord(env, key, "Setup_MAX", "C:\\Game", "C:\\Game");
}

struct StateCase {
    const char* setupMode;
    const char* path;
    const char* cdPath;
    int state;
};

TEST(DetectInstallState, StateFollowsSetupModeAndWhetherTheSourceIsTheInstallFolder) {
    const std::vector<StateCase> cases = {
        {"Setup_MIN", "C:\\Game", "Q:\\", 1},
        {"setup_min", "C:\\Game", "Q:\\", 1},
        {"SETUP_MIN", "C:\\Game", "Q:\\", 1},
        {"Setup_MAX", "C:\\Game", "Q:\\", 2},
        {"", "C:\\Game", "Q:\\", 2},
        {"Setup_MINI", "C:\\Game", "Q:\\", 2},
        {"Setup_MAX", "C:\\Game", "C:\\Game", 3},
        {"Setup_MIN", "C:\\Game", "C:\\Game", 3},
        // Only the very same text counts as a full install.
        {"Setup_MAX", "C:\\Game", "c:\\game", 2},
        {"Setup_MIN", "C:\\Game", "C:\\Game\\", 1},
    };
    for (const StateCase& c : cases) {
        SCOPED_TRACE(std::string(c.setupMode) + " | " + c.path + " | " + c.cdPath);
        RegistryTestEnv env;
        PutRecord(env, kRecordKey, c.setupMode, c.path, c.cdPath);
        EXPECT_EQ(env.dlg.DetectInstallState(), c.state);
        EXPECT_EQ(env.dlg.m_strInstallDir, c.path);
        EXPECT_EQ(env.dlg.m_strSourceRoot, c.cdPath);
        EXPECT_EQ(env.OpenKeys(), 0);
    }
}

struct WalkCase {
    const char* name;
    std::optional<std::string> recordKey;  // string 103 when overridden
    std::function<void(RegistryTestEnv&)> setUp;
    int state;
    bool membersSet;
};

TEST(DetectInstallState, EveryEarlyEndOfTheWalkMapsToItsState) {
    const std::vector<WalkCase> cases = {
        {"fresh system", std::nullopt, [](RegistryTestEnv&) {}, 0, false},
        {"only two backslashes in string 103", "HKEY_CURRENT_USER\\Velstra\\Mirel",
         [](RegistryTestEnv& env) {
             PutFullRecord(env, "Velstra\\Mirel");
             PutFullRecord(env, kRecordKey);
         },
         0, false},
        {"one backslash in string 103", "HKCU\\Mirel", [](RegistryTestEnv& env) { PutFullRecord(env, "Mirel"); }, 0,
         false},
        {"no backslash in string 103", "Mirel", [](RegistryTestEnv&) {}, 0, false},
        {"empty string 103", "", [](RegistryTestEnv&) {}, 0, false},
        {"hive not in the table", "HKEY_CURRENT_USERS\\Software\\Velstra\\Mirel",
         [](RegistryTestEnv& env) { PutFullRecord(env, kRecordKey); }, 0, false},
        {"hive the registry does not keep", "HKPD\\Software\\Velstra\\Mirel",
         [](RegistryTestEnv& env) { PutFullRecord(env, kRecordKey); }, 0, false},
        {"base path missing", "HKCU\\Games\\Velstra\\Mirel",
         [](RegistryTestEnv& env) { PutFullRecord(env, kRecordKey); }, 0, false},
        {"publisher missing", std::nullopt, [](RegistryTestEnv& env) { env.MakeKey("Software\\Other"); }, 0, false},
        {"another product of the publisher only", std::nullopt,
         [](RegistryTestEnv& env) { PutFullRecord(env, "Software\\Velstra\\Mirel2"); }, 0, false},
        {"publisher listed but cannot be opened", std::nullopt,
         [](RegistryTestEnv& env) {
             PutFullRecord(env, kRecordKey);
             env.plan().failRegistryOpen.insert(kPublisherKey);
         },
         0, false},
        {"product listed but cannot be opened", std::nullopt,
         [](RegistryTestEnv& env) {
             PutFullRecord(env, kRecordKey);
             env.plan().failRegistryOpen.insert(kRecordKey);
         },
         1, false},
        {"record key empty", std::nullopt, [](RegistryTestEnv& env) { env.MakeKey(kRecordKey); }, 1, false},
        {"SetupMode missing", std::nullopt,
         [](RegistryTestEnv& env) {
             env.PutString(kRecordKey, "Path", "C:\\Game");
             env.PutString(kRecordKey, "CDPath", "C:\\Game");
         },
         1, false},
        {"Path missing", std::nullopt,
         [](RegistryTestEnv& env) {
             env.PutString(kRecordKey, "SetupMode", "Setup_MAX");
             env.PutString(kRecordKey, "CDPath", "C:\\Game");
         },
         1, false},
        {"CDPath missing", std::nullopt,
         [](RegistryTestEnv& env) {
             env.PutString(kRecordKey, "SetupMode", "Setup_MAX");
             env.PutString(kRecordKey, "Path", "C:\\Game");
         },
         1, false},
        {"CDPath too long to read", std::nullopt,
         [](RegistryTestEnv& env) { PutRecord(env, kRecordKey, "Setup_MAX", "C:\\Game",
                                                    std::string(registry::ReadBufferSize(plat::kCodePageUtf8), 'Q'));
         },
         1, false},
        {"publisher and product in other letter cases", std::nullopt,
         [](RegistryTestEnv& env) { PutFullRecord(env, "Software\\VELSTRA\\mirel"); }, 3, true},
        {"base path of several levels", "HKCU\\Software\\Games\\Velstra\\Mirel",
         [](RegistryTestEnv& env) { PutFullRecord(env, "Software\\Games\\Velstra\\Mirel"); }, 3, true},
        {"short hive name in lower case", "hkcu\\Software\\Velstra\\Mirel",
         [](RegistryTestEnv& env) { PutFullRecord(env, kRecordKey); }, 3, true},
    };
    for (const WalkCase& c : cases) {
        SCOPED_TRACE(c.name);
        RegistryTestEnv env;
        if (c.recordKey) env.strings.Set(103, *c.recordKey);
        c.setUp(env);
        env.dlg.m_strInstallDir = kKeptDir;
        env.dlg.m_strSourceRoot = kKeptSource;

        EXPECT_EQ(env.dlg.DetectInstallState(), c.state);
        EXPECT_EQ(env.dlg.m_strInstallDir, c.membersSet ? "C:\\Game" : kKeptDir);
        EXPECT_EQ(env.dlg.m_strSourceRoot, c.membersSet ? "C:\\Game" : kKeptSource);
        EXPECT_EQ(env.OpenKeys(), 0);
    }
}

struct ListingCase {
    std::uint32_t failFrom;
    int state;
};

// A listing that breaks off still offers the names it gathered before the failure.
TEST(DetectInstallState, NamesListedBeforeAFailedListingStillCount) {
    // Sorted sub-keys of Games: Aaa (0), Velstra (1), Zzz (2).
    const std::vector<ListingCase> cases = {{0, 0}, {1, 0}, {2, 3}, {3, 3}};
    for (const ListingCase& c : cases) {
        SCOPED_TRACE("listing fails from index " + std::to_string(c.failFrom));
        RegistryTestEnv env;
        env.strings.Set(103, "HKCU\\Games\\Velstra\\Mirel");
        env.MakeKey("Games\\Aaa");
        env.MakeKey("Games\\Zzz");
        PutFullRecord(env, "Games\\Velstra\\Mirel");
        env.plan().failRegistryListFrom["Games"] = c.failFrom;

        EXPECT_EQ(env.dlg.DetectInstallState(), c.state);
        EXPECT_EQ(env.OpenKeys(), 0);
    }
}

// A hive written elsewhere may hold a key name longer than Windows allows (the file
// registry refuses to make one): sorted before the publisher, it must not end the
// listing that finds the publisher.
TEST(DetectInstallState, ASiblingNameTooLongForAnyBufferHidesNothing) {
#ifdef _WIN32
    GTEST_SKIP() << "the system's registry cannot hold such a name";
#else
    RegistryTestEnv env;
    env.strings.Set(103, "HKCU\\Games\\Velstra\\Mirel");
    PutFullRecord(env, "Games\\Velstra\\Mirel");
    {
        std::ofstream hive(env.systemRoot().root() + "/registry/HKEY_CURRENT_USER.reg", std::ios::app);
        hive << "\n[HKEY_CURRENT_USER\\Games\\" << std::string(1000, 'A') << "]\n";
        ASSERT_TRUE(hive.good());
    }
    EXPECT_EQ(env.dlg.DetectInstallState(), 3);
    EXPECT_EQ(env.OpenKeys(), 0);
#endif
}

struct CodePageCase {
    const char* name;
    std::string recordKey;
    std::vector<std::string> listed;  // keys whose sub-keys the walk must list
};

// Under code page 932 the trail byte of "表" (0x95 0x5C) is no backslash: the walk
// must still cut string 103 at the real ones.
TEST(DetectInstallState, TrailBytesOfDoubleByteNamesAreNoBackslashes) {
    const std::vector<CodePageCase> cases = {
        {"double-byte product name", "HKCU\\Software\\Velstra\\\x95\x5C", {"list Software", "list Software\\Velstra"}},
        {"double-byte publisher name", "HKCU\\Software\\\x95\x5C\\Mirel", {"list Software"}},
    };
    for (const CodePageCase& c : cases) {
        SCOPED_TRACE(c.name);
        RegistryTestEnv env;
        env.strings.SetCodePage(plat::kCodePage932);
        env.strings.Set(103, c.recordKey);
        PutFullRecord(env, "Software\\Velstra\\Other");

        EXPECT_EQ(env.dlg.DetectInstallState(), 0);
        for (const std::string& entry : c.listed) {
            EXPECT_NE(std::find(env.RegistryLog().begin(), env.RegistryLog().end(), entry), env.RegistryLog().end())
                << entry;
        }
        EXPECT_EQ(env.OpenKeys(), 0);
    }
}

}  // namespace
