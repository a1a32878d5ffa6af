// Removing a key tree depth first, and its parent when that is left empty.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "tests/core/registry_test_env.h"

namespace {

constexpr const char* kRecordPath = "HKEY_CURRENT_USER\\Software\\Velstra\\Mirel";

struct TreeCase {
    const char* name;
    std::string path;
    int recurse;
    int removeEmptyParent;
    std::function<void(RegistryTestEnv&)> setUp;
    int result;
    std::vector<std::string> present;
    std::vector<std::string> absent;
};

void PutRecord(RegistryTestEnv& env) {
    env.PutString(kRecordKey, "Path", "C:\\Game");
    env.PutDword(kRecordKey, "Install KOE", 1);
}

TEST(DeleteRegistryTree, RemovesTheTreeAndOnlyAnEmptiedParent) {
    const std::vector<TreeCase> cases = {
        {"nested sub-keys several levels deep", kRecordPath, 1, 1,
         [](RegistryTestEnv& env) {
             PutRecord(env);
             env.PutString("Software\\Velstra\\Mirel\\A\\B\\C", "Deep", "x");
             env.MakeKey("Software\\Velstra\\Mirel\\A\\D");
             env.MakeKey("Software\\Velstra\\Mirel\\表示\\E");
         },
         1, {"Software"}, {"Software\\Velstra\\Mirel", "Software\\Velstra"}},
        {"another product of the publisher", kRecordPath, 1, 1,
         [](RegistryTestEnv& env) {
             PutRecord(env);
             env.MakeKey("Software\\Velstra\\Mirel\\A");
             env.MakeKey("Software\\Velstra\\Other");
         },
         1, {"Software\\Velstra\\Other"}, {"Software\\Velstra\\Mirel"}},
        {"publisher holding a value", kRecordPath, 1, 1,
         [](RegistryTestEnv& env) {
             PutRecord(env);
             env.PutString(kPublisherKey, "Owner", "someone");
         },
         1, {"Software\\Velstra"}, {"Software\\Velstra\\Mirel"}},
        // A value name may be 16383 characters, more than any name buffer: the parent
        // still holds something and stays, with its value.
        {"publisher holding a value whose name outgrows the buffer", kRecordPath, 1, 1,
         [](RegistryTestEnv& env) {
             PutRecord(env);
             env.PutString(kPublisherKey, std::string(2000, 'v'), "someone");
         },
         1, {"Software\\Velstra"}, {"Software\\Velstra\\Mirel"}},
        {"sub-key of the longest name, in Japanese", kRecordPath, 1, 1,
         [](RegistryTestEnv& env) {
             PutRecord(env);
             std::string name;
             for (int i = 0; i < 255; ++i) name += "ア";
             env.MakeKey("Software\\Velstra\\Mirel\\" + name);
         },
         1, {"Software"}, {"Software\\Velstra\\Mirel", "Software\\Velstra"}},
        {"parent kept when not asked to remove it", kRecordPath, 1, 0, PutRecord, 1, {"Software\\Velstra"},
         {"Software\\Velstra\\Mirel"}},
        {"record key missing: the parent is not examined", kRecordPath, 1, 1,
         [](RegistryTestEnv& env) { env.MakeKey(kPublisherKey); }, 0, {"Software\\Velstra"}, {}},
        {"recurse clear on a key with sub-keys", kRecordPath, 0, 1,
         [](RegistryTestEnv& env) {
             PutRecord(env);
             env.MakeKey("Software\\Velstra\\Mirel\\A");
         },
         0, {"Software\\Velstra\\Mirel\\A"}, {}},
        {"recurse clear on a key without sub-keys", kRecordPath, 0, 1, PutRecord, 1, {"Software"},
         {"Software\\Velstra\\Mirel", "Software\\Velstra"}},
        {"hive name in lower case", "hkcu\\Software\\Velstra\\Mirel", 1, 1, PutRecord, 1, {"Software"},
         {"Software\\Velstra"}},
        {"key directly below the hive", "HKCU\\Solo", 1, 1,
         [](RegistryTestEnv& env) { env.MakeKey("Solo\\Child"); }, 1, {"Software"}, {"Solo"}},
        {"path without a backslash", "HKEY_CURRENT_USER", 1, 1, PutRecord, 0, {"Software\\Velstra\\Mirel"}, {}},
        {"hive not in the table", "HKEY_CURRENT_USERS\\Software\\Velstra\\Mirel", 1, 1, PutRecord, 0,
         {"Software\\Velstra\\Mirel"}, {}},
        // A trailing backslash would name the whole hive: nothing is removed.
        {"no key below the hive", "HKCU\\", 1, 1, PutRecord, 0, {"Software\\Velstra\\Mirel"}, {}},
        {"a sub-key that cannot be deleted keeps its ancestors", kRecordPath, 1, 1,
         [](RegistryTestEnv& env) {
             PutRecord(env);
             for (const char* name : {"A", "B", "C"}) env.MakeKey(std::string(kRecordKey) + "\\" + name);
             env.plan().failRegistryDelete.insert("Software\\Velstra\\Mirel\\B");
         },
         0, {"Software\\Velstra\\Mirel\\B"}, {"Software\\Velstra\\Mirel\\A", "Software\\Velstra\\Mirel\\C"}},
        {"parent that cannot be opened", kRecordPath, 1, 1,
         [](RegistryTestEnv& env) {
             PutRecord(env);
             env.plan().failRegistryOpen.insert(kPublisherKey);
         },
         0, {"Software\\Velstra"}, {"Software\\Velstra\\Mirel"}},
    };
    for (const TreeCase& c : cases) {
        SCOPED_TRACE(c.name);
        RegistryTestEnv env;
        c.setUp(env);
        EXPECT_EQ(env.dlg.DeleteRegistryTree(c.path, c.recurse, c.removeEmptyParent), c.result);
        for (const std::string& key : c.present) EXPECT_TRUE(env.KeyExists(key)) << key << " should remain";
        for (const std::string& key : c.absent) EXPECT_FALSE(env.KeyExists(key)) << key << " should be gone";
        EXPECT_EQ(env.OpenKeys(), 0);
    }
}

// Deleting while listing would shift the indices of the keys not yet seen and skip
// every other one; the tree is listed whole first and emptied from the end.
TEST(DeleteRegistryTree, ListsAllSubKeysBeforeDeletingThemLastToFirst) {
    RegistryTestEnv env;
    const std::vector<std::string> children = {"K1", "K2", "K3", "K4", "K5", "K6"};
    for (const std::string& child : children) env.MakeKey(std::string(kRecordKey) + "\\" + child + "\\Inner");

    EXPECT_EQ(env.dlg.DeleteRegistryTree(kRecordPath, 1, 1), 1);
    for (const std::string& child : children) EXPECT_FALSE(env.KeyExists(std::string(kRecordKey) + "\\" + child));
    EXPECT_FALSE(env.KeyExists(kPublisherKey));

    const std::vector<std::string>& log = env.RegistryLog();
    const std::string listRecord = std::string("list ") + kRecordKey;
    const auto lastList = std::find(log.rbegin(), log.rend(), listRecord);
    const auto firstDelete =
        std::find_if(log.begin(), log.end(), [](const std::string& entry) { return entry.rfind("delete ", 0) == 0; });
    ASSERT_NE(lastList, log.rend());
    ASSERT_NE(firstDelete, log.end());
    EXPECT_LT(std::distance(log.begin(), lastList.base()) - 1, std::distance(log.begin(), firstDelete));

    std::vector<std::string> childDeletes;
    for (const std::string& entry : log) {
        const std::string prefix = std::string("delete ") + kRecordKey + "\\";
        if (entry.rfind(prefix, 0) == 0 && entry.find('\\', prefix.size()) == std::string::npos) {
            childDeletes.push_back(entry.substr(prefix.size()));
        }
    }
    EXPECT_EQ(childDeletes, (std::vector<std::string>{"K6", "K5", "K4", "K3", "K2", "K1"}));
}

// Under code page 932 the parent of "Velstra\表" is "Velstra": the trail byte of
// "表" (0x95 0x5C) is not where the parent path ends.
TEST(DeleteRegistryTree, FindsTheParentPastATrailByteThatLooksLikeABackslash) {
    RegistryTestEnv env;
    env.strings.SetCodePage(plat::kCodePage932);
    env.MakeKey(kPublisherKey);

    // The key itself cannot exist in this registry; the emptied parent still goes.
    env.dlg.DeleteRegistryTree("HKCU\\Software\\Velstra\\\x95\x5C", 0, 1);
    EXPECT_NE(std::find(env.RegistryLog().begin(), env.RegistryLog().end(), "delete Software\\Velstra"),
              env.RegistryLog().end());
    EXPECT_FALSE(env.KeyExists(kPublisherKey));
    EXPECT_EQ(env.OpenKeys(), 0);
}

}  // namespace
