// The file-backed store's own rules, beyond the registry behaviour every build shares
// (tests/conformance): key path forms, access masks, the names and hives a text file
// can hold, one file per hive, handles across processes and deleted keys.
#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include "tests/posix/registry/registry_test_support.h"

namespace {

using namespace regtest;
using plat::RegKeyHandle;
using plat::RegResult;

class RegistryStoreRules : public ::testing::Test {
protected:
    std::string Folder() const { return m_folder.path() + "/registry"; }
    std::vector<std::string> SubKeys(RegKeyHandle key) {
        std::vector<std::string> names;
        for (std::uint32_t i = 0;; ++i) {
            char name[260];
            std::uint32_t size = sizeof name;
            const RegResult result = m_registry.EnumKey(key, i, name, &size);
            if (result != plat::kErrorSuccess) {
                EXPECT_EQ(result, plat::kErrorNoMoreItems);
                return names;
            }
            names.emplace_back(name, size);
        }
    }

    TempFolder m_folder;
    posixplat::PosixRegistry m_registry{Folder(), "tester"};
};

TEST_F(RegistryStoreRules, AHandleToADeletedKeyFailsEveryCallButClose) {
    RegKeyHandle doomed = MustCreate(m_registry, plat::kHkeyLocalMachine, "Gone");
    RegKeyHandle sameKey = MustOpen(m_registry, plat::kHkeyLocalMachine, "GONE");
    ASSERT_EQ(SetString(m_registry, doomed, "v", "x"), plat::kErrorSuccess);
    ASSERT_EQ(m_registry.DeleteKey(plat::kHkeyLocalMachine, "Gone"), plat::kErrorSuccess);
    // A new key of the same name is another key: the old handles stay dead.
    m_registry.CloseKey(MustCreate(m_registry, plat::kHkeyLocalMachine, "gone"));

    const std::pair<const char*, std::function<RegResult(RegKeyHandle)>> calls[] = {
        {"CreateKey", [&](RegKeyHandle h) { RegKeyHandle k; return m_registry.CreateKey(h, "Sub", &k); }},
        {"OpenKey", [&](RegKeyHandle h) { RegKeyHandle k; return m_registry.OpenKey(h, "", plat::kKeyRead, &k); }},
        {"EnumKey", [&](RegKeyHandle h) { char n[8]; std::uint32_t s = 8; return m_registry.EnumKey(h, 0, n, &s); }},
        {"EnumValue", [&](RegKeyHandle h) { char n[8]; std::uint32_t s = 8; return m_registry.EnumValue(h, 0, n, &s); }},
        {"QueryValue", [&](RegKeyHandle h) { return Query(m_registry, h, "v").result; }},
        {"SetValue", [&](RegKeyHandle h) { return SetString(m_registry, h, "v", "y"); }},
        {"DeleteKey", [&](RegKeyHandle h) { return m_registry.DeleteKey(h, ""); }},
    };
    for (RegKeyHandle handle : {doomed, sameKey}) {
        for (const auto& [what, call] : calls) EXPECT_EQ(call(handle), plat::kErrorKeyDeleted) << what;
        EXPECT_EQ(m_registry.CloseKey(handle), plat::kErrorSuccess);
    }
    EXPECT_EQ(Query(m_registry, MustOpen(m_registry, plat::kHkeyLocalMachine, "Gone"), "v").result,
              plat::kErrorFileNotFound);
}

TEST_F(RegistryStoreRules, CloseKeyAcceptsOnlyLiveHandles) {
    RegKeyHandle key = MustCreate(m_registry, plat::kHkeyUsers, "K");
    EXPECT_EQ(m_registry.CloseKey(key), plat::kErrorSuccess);
    EXPECT_EQ(m_registry.CloseKey(key), plat::kErrorInvalidHandle);
    EXPECT_EQ(Query(m_registry, key, "x").result, plat::kErrorInvalidHandle);
    EXPECT_EQ(m_registry.CloseKey(0x4242), plat::kErrorInvalidHandle);
    EXPECT_EQ(m_registry.CloseKey(plat::kNullKey), plat::kErrorInvalidHandle);
    EXPECT_EQ(m_registry.CloseKey(plat::kHkeyUsers), plat::kErrorSuccess);
}

TEST_F(RegistryStoreRules, AccessMasksAreChecked) {
    RegKeyHandle full = MustCreate(m_registry, plat::kHkeyLocalMachine, "Access\\Existing");
    ASSERT_EQ(SetString(m_registry, full, "v", "x"), plat::kErrorSuccess);
    struct Case {
        std::uint32_t access;
        RegResult set, query, enumKey, createNew, createExisting;
    };
    constexpr RegResult ok = plat::kErrorSuccess, no = plat::kErrorAccessDenied;
    const Case cases[] = {
        {plat::kKeyRead, no, ok, ok, no, ok},
        {0x80000000u /* GENERIC_READ */, no, ok, ok, no, ok},
        {plat::kKeyWrite, ok, no, no, ok, ok},
        {plat::kKeyWrite | plat::kKeyQueryValue | plat::kKeyEnumerateSubKeys, ok, ok, ok, ok, ok},
        {plat::kKeyAllAccess, ok, ok, ok, ok, ok},
        {0, no, no, no, no, ok},
    };
    int round = 0;
    for (const Case& c : cases) {
        RegKeyHandle key = MustOpen(m_registry, plat::kHkeyLocalMachine, "Access", c.access);
        RegKeyHandle sub;
        char name[16];
        std::uint32_t size = sizeof name;
        EXPECT_EQ(SetString(m_registry, key, "w", "y"), c.set) << std::hex << c.access;
        EXPECT_EQ(Query(m_registry, key, "w").result == no, c.query == no) << std::hex << c.access;
        EXPECT_EQ(m_registry.EnumKey(key, 0, name, &size), c.enumKey) << std::hex << c.access;
        EXPECT_EQ(m_registry.CreateKey(key, "New" + std::to_string(round++), &sub), c.createNew) << std::hex << c.access;
        if (c.createNew == ok) m_registry.CloseKey(sub);
        EXPECT_EQ(m_registry.CreateKey(key, "Existing", &sub), c.createExisting) << std::hex << c.access;
        if (c.createExisting == ok) {
            EXPECT_EQ(SetString(m_registry, sub, "v", "z"), ok);  // a create grants all access
        }
        m_registry.CloseKey(sub);
        m_registry.CloseKey(key);
    }
}

TEST_F(RegistryStoreRules, KeyPathForms) {
    m_registry.CloseKey(MustCreate(m_registry, plat::kHkeyLocalMachine, "A\\B"));
    struct Case {
        const char* path;
        RegResult open;
    };
    const Case cases[] = {
        {"A\\B", plat::kErrorSuccess},        {"A\\B\\", plat::kErrorSuccess},
        {"\\A\\B", plat::kErrorFileNotFound}, {"A\\\\B", plat::kErrorFileNotFound},
        {"\\", plat::kErrorSuccess},          {"", plat::kErrorSuccess},
        {"A\\B\\\\", plat::kErrorFileNotFound},
    };
    for (const Case& c : cases) {
        RegKeyHandle key = plat::kNullKey;
        EXPECT_EQ(m_registry.OpenKey(plat::kHkeyLocalMachine, c.path, plat::kKeyRead, &key), c.open) << c.path;
        if (key != plat::kNullKey) m_registry.CloseKey(key);
    }
    RegKeyHandle key;
    EXPECT_EQ(m_registry.CreateKey(plat::kHkeyLocalMachine, "\\Lead", &key), plat::kErrorFileNotFound);
    EXPECT_EQ(m_registry.CreateKey(plat::kHkeyLocalMachine, "X\\\\Y", &key), plat::kErrorFileNotFound);
    EXPECT_EQ(SubKeys(plat::kHkeyLocalMachine), std::vector<std::string>{"A"});

    // An empty sub-key opens the same key again, under a handle of its own.
    RegKeyHandle b = MustOpen(m_registry, plat::kHkeyLocalMachine, "A\\B");
    RegKeyHandle same = MustOpen(m_registry, b, "");
    EXPECT_NE(same, b);
    ASSERT_EQ(SetString(m_registry, same, "v", "1"), plat::kErrorSuccess);
    m_registry.CloseKey(same);
    EXPECT_EQ(Query(m_registry, b, "v").result, plat::kErrorSuccess);
    m_registry.CloseKey(b);
}

TEST_F(RegistryStoreRules, NamesTheFileCannotHoldAreRefused) {
    RegKeyHandle key = MustCreate(m_registry, plat::kHkeyLocalMachine, "Names");
    RegKeyHandle sub;
    const std::string badNames[] = {"line\nbreak", "cr\rx", "\x95\x5c" /* not UTF-8 */, "bell\a",
                                    std::string("nul\0x", 5)};
    for (const std::string& name : badNames) {
        EXPECT_EQ(m_registry.CreateKey(key, name, &sub), plat::kErrorInvalidParameter);
        EXPECT_EQ(SetString(m_registry, key, name, "x"), plat::kErrorInvalidParameter);
    }
    EXPECT_EQ(m_registry.CreateKey(key, std::string(256, 'k'), &sub), plat::kErrorInvalidParameter);
    EXPECT_EQ(m_registry.CreateKey(key, std::string(255, 'k'), &sub), plat::kErrorSuccess);
    m_registry.CloseKey(sub);
    EXPECT_EQ(SubKeys(key), std::vector<std::string>{std::string(255, 'k')});
    EXPECT_EQ(SetString(m_registry, key, "tab\there \"quoted\" back\\slash", "x"), plat::kErrorSuccess);
    m_registry.CloseKey(key);
}

TEST_F(RegistryStoreRules, HivesThatCannotBeStoredRefuseEveryCall) {
    for (RegKeyHandle root : {plat::kHkeyPerformanceData, plat::kHkeyDynData}) {
        RegKeyHandle key;
        char name[8];
        std::uint32_t size = sizeof name;
        EXPECT_EQ(m_registry.CreateKey(root, "X", &key), plat::kErrorInvalidHandle);
        EXPECT_EQ(m_registry.OpenKey(root, "", plat::kKeyRead, &key), plat::kErrorInvalidHandle);
        EXPECT_EQ(m_registry.EnumKey(root, 0, name, &size), plat::kErrorInvalidHandle);
        EXPECT_EQ(m_registry.EnumValue(root, 0, name, &size), plat::kErrorInvalidHandle);
        EXPECT_EQ(Query(m_registry, root, "").result, plat::kErrorInvalidHandle);
        EXPECT_EQ(SetString(m_registry, root, "v", "x"), plat::kErrorInvalidHandle);
        EXPECT_EQ(m_registry.DeleteKey(root, "X"), plat::kErrorInvalidHandle);
        EXPECT_EQ(m_registry.CloseKey(root), plat::kErrorInvalidHandle);
    }
    EXPECT_FALSE(std::filesystem::exists(Folder()) && !std::filesystem::is_empty(Folder()));
}

TEST_F(RegistryStoreRules, EachStorableRootIsItsOwnFile) {
    const std::pair<RegKeyHandle, const char*> roots[] = {
        {plat::kHkeyClassesRoot, "HKEY_CLASSES_ROOT"},   {plat::kHkeyCurrentUser, "HKEY_CURRENT_USER"},
        {plat::kHkeyLocalMachine, "HKEY_LOCAL_MACHINE"}, {plat::kHkeyUsers, "HKEY_USERS"},
        {plat::kHkeyCurrentConfig, "HKEY_CURRENT_CONFIG"},
    };
    for (const auto& [root, name] : roots) {
        RegKeyHandle key = MustCreate(m_registry, root, std::string("Only") + name);
        m_registry.CloseKey(key);
    }
    for (const auto& [root, name] : roots) {
        const std::string text = ReadFile(Folder() + "/" + name + ".reg");
        EXPECT_NE(text.find(std::string("[") + name + "\\Only" + name + "]\n"), std::string::npos) << name;
        const std::vector<std::string> keys = SubKeys(root);
        EXPECT_NE(std::find(keys.begin(), keys.end(), std::string("Only") + name), keys.end()) << name;
    }
}

TEST_F(RegistryStoreRules, HandlesFollowChangesMadeByAnotherProcess) {
    // A second registry object over the same folder stands for another process.
    posixplat::PosixRegistry other(Folder(), "tester");
    RegKeyHandle mine = MustCreate(m_registry, plat::kHkeyLocalMachine, "Shared\\Key");
    RegKeyHandle theirs = MustOpen(other, plat::kHkeyLocalMachine, "shared\\key");

    ASSERT_EQ(SetString(other, theirs, "Path", "C:\\Game"), plat::kErrorSuccess);
    EXPECT_EQ(Query(m_registry, mine, "path").bytes, std::string("C:\\Game\0", 8));
    other.CloseKey(MustCreate(other, plat::kHkeyLocalMachine, "Shared\\Another"));
    EXPECT_EQ(SetString(m_registry, mine, "Mode", "x"), plat::kErrorSuccess);

    other.CloseKey(theirs);
    ASSERT_EQ(other.DeleteKey(plat::kHkeyLocalMachine, "Shared\\Key"), plat::kErrorSuccess);
    EXPECT_EQ(Query(m_registry, mine, "Path").result, plat::kErrorKeyDeleted);
    EXPECT_EQ(SetString(m_registry, mine, "Mode", "y"), plat::kErrorKeyDeleted);
    EXPECT_EQ(m_registry.CloseKey(mine), plat::kErrorSuccess);
}

}  // namespace
