// The registry behaviour the core relies on, checked against the system's registry
// through the Win32 layer.
#include <cstring>
#include <vector>

#include "tests/win32/win32_test_support.h"

namespace {

using plat::RegKeyHandle;
using plat::RegResult;
using win32test::TestKey;

class RegistrySemantics : public win32test::Win32PlatformTest {
protected:
    RegKeyHandle Create(const std::string& below) {
        RegKeyHandle key = plat::kNullKey;
        EXPECT_EQ(registry().CreateKey(plat::kHkeyCurrentUser, m_key.path() + below, &key), plat::kErrorSuccess) << below;
        m_open.push_back(key);
        return key;
    }
    RegResult Open(const std::string& below, RegKeyHandle* key) {
        const RegResult result = registry().OpenKey(plat::kHkeyCurrentUser, m_key.path() + below, plat::kKeyRead, key);
        if (result == plat::kErrorSuccess) m_open.push_back(*key);
        return result;
    }
    RegResult SetString(RegKeyHandle key, const std::string& name, const std::string& text) {
        return registry().SetValue(key, name, plat::kRegSz, reinterpret_cast<const unsigned char*>(text.c_str()),
                                   static_cast<std::uint32_t>(text.size() + 1));
    }
    std::vector<std::string> SubKeys(RegKeyHandle key) {
        std::vector<std::string> names;
        for (std::uint32_t index = 0;; ++index) {
            char name[260];
            std::uint32_t size = sizeof name;
            const RegResult result = registry().EnumKey(key, index, name, &size);
            if (result != plat::kErrorSuccess) {
                EXPECT_EQ(result, plat::kErrorNoMoreItems);
                return names;
            }
            names.emplace_back(name, size);
        }
    }
    void TearDown() override {
        for (RegKeyHandle key : m_open) registry().CloseKey(key);
    }

    TestKey m_key;
    std::vector<RegKeyHandle> m_open;
};

TEST_F(RegistrySemantics, NamesIgnoreCaseAndKeepTheCaseTheyWereCreatedWith) {
    RegKeyHandle created = Create("\\Velstra\\Mirel");
    RegKeyHandle opened = plat::kNullKey;
    ASSERT_EQ(Open("\\VELSTRA\\mirel", &opened), plat::kErrorSuccess);
    RegKeyHandle parent = plat::kNullKey;
    ASSERT_EQ(Open("", &parent), plat::kErrorSuccess);
    EXPECT_EQ(SubKeys(parent), std::vector<std::string>{"Velstra"});

    // A second set in other case replaces the data and keeps the first name.
    ASSERT_EQ(SetString(created, "SetupMode", "Setup_MIN"), plat::kErrorSuccess);
    ASSERT_EQ(SetString(created, "SETUPMODE", "Setup_MAX"), plat::kErrorSuccess);
    unsigned char data[32];
    std::uint32_t size = sizeof data, type = 0;
    ASSERT_EQ(registry().QueryValue(opened, "setupmode", &type, data, &size), plat::kErrorSuccess);
    EXPECT_EQ(type, plat::kRegSz);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), size), std::string("Setup_MAX\0", 10));
    char name[32];
    std::uint32_t nameSize = sizeof name;
    ASSERT_EQ(registry().EnumValue(opened, 0, name, &nameSize), plat::kErrorSuccess);
    EXPECT_EQ(std::string(name, nameSize), "SetupMode");
    nameSize = sizeof name;
    EXPECT_EQ(registry().EnumValue(opened, 1, name, &nameSize), plat::kErrorNoMoreItems);
}

TEST_F(RegistrySemantics, SubKeysEnumerateInCaseInsensitiveOrder) {
    // Letters and digits only: where punctuation between 'Z' and 'a' sorts depends on
    // the folding (upper case on Windows, lower case under Wine), and nothing relies on it.
    for (const char* name : {"beta", "Alpha", "gamma", "ALPHA2", "Delta", "zeta", "Alpha1"}) Create(std::string("\\") + name);
    RegKeyHandle key = plat::kNullKey;
    ASSERT_EQ(Open("", &key), plat::kErrorSuccess);
    EXPECT_EQ(SubKeys(key), (std::vector<std::string>{"Alpha", "Alpha1", "ALPHA2", "beta", "Delta", "gamma", "zeta"}));
}

TEST_F(RegistrySemantics, DeletingAKeyWithSubKeysIsRefused) {
    Create("\\Mirel\\Data");
    EXPECT_EQ(registry().DeleteKey(plat::kHkeyCurrentUser, m_key.path() + "\\Mirel"), plat::kErrorAccessDenied);
    EXPECT_EQ(registry().DeleteKey(plat::kHkeyCurrentUser, m_key.path() + "\\Mirel\\Data"), plat::kErrorSuccess);
    EXPECT_EQ(registry().DeleteKey(plat::kHkeyCurrentUser, m_key.path() + "\\Mirel"), plat::kErrorSuccess);
    RegKeyHandle gone = plat::kNullKey;
    EXPECT_EQ(Open("\\Mirel", &gone), plat::kErrorFileNotFound);
}

TEST_F(RegistrySemantics, QueriesReportTheSizeAndLeaveATooSmallBufferAlone) {
    RegKeyHandle key = Create("\\Record");
    ASSERT_EQ(SetString(key, "Path", "C:\\Program Files\\Velstra\\Mirel"), plat::kErrorSuccess);
    const std::uint32_t needed = sizeof "C:\\Program Files\\Velstra\\Mirel";

    struct Case {
        const char* what;
        std::uint32_t capacity;
        RegResult result;
    };
    for (const Case& c : {Case{"no room", 0, plat::kErrorMoreData}, Case{"one byte short", needed - 1, plat::kErrorMoreData},
                          Case{"exact", needed, plat::kErrorSuccess}, Case{"ample", 200, plat::kErrorSuccess}}) {
        SCOPED_TRACE(c.what);
        std::vector<unsigned char> buffer(256, 0xCC);
        std::uint32_t size = c.capacity, type = 0;
        EXPECT_EQ(registry().QueryValue(key, "Path", &type, buffer.data(), &size), c.result);
        EXPECT_EQ(size, needed);
        if (c.result == plat::kErrorMoreData) {
            EXPECT_EQ(buffer, std::vector<unsigned char>(256, 0xCC));
        } else {
            EXPECT_EQ(std::strcmp(reinterpret_cast<char*>(buffer.data()), "C:\\Program Files\\Velstra\\Mirel"), 0);
        }
    }
    std::uint32_t size = 0, type = 0;
    EXPECT_EQ(registry().QueryValue(key, "Path", &type, nullptr, &size), plat::kErrorSuccess);
    EXPECT_EQ(size, needed);
    EXPECT_EQ(registry().QueryValue(key, "Missing", &type, nullptr, &size), plat::kErrorFileNotFound);
}

TEST_F(RegistrySemantics, AHandleToADeletedKeyFailsEveryLaterCall) {
    RegKeyHandle key = Create("\\Doomed");
    ASSERT_EQ(SetString(key, "Value", "x"), plat::kErrorSuccess);
    ASSERT_EQ(registry().DeleteKey(plat::kHkeyCurrentUser, m_key.path() + "\\Doomed"), plat::kErrorSuccess);

    char name[64];
    std::uint32_t size = sizeof name, type = 0;
    EXPECT_EQ(registry().EnumKey(key, 0, name, &size), plat::kErrorKeyDeleted);
    size = sizeof name;
    EXPECT_EQ(registry().EnumValue(key, 0, name, &size), plat::kErrorKeyDeleted);
    unsigned char data[8];
    size = sizeof data;
    EXPECT_EQ(registry().QueryValue(key, "Value", &type, data, &size), plat::kErrorKeyDeleted);
    EXPECT_EQ(SetString(key, "Value", "y"), plat::kErrorKeyDeleted);
    RegKeyHandle child = plat::kNullKey;
    EXPECT_NE(registry().CreateKey(key, "Child", &child), plat::kErrorSuccess);
}

TEST_F(RegistrySemantics, CodePageTextAndDwordsRoundTripByteForByte) {
    RegKeyHandle key = Create("\\" + win32test::kHarunea932);
    const std::string text = win32test::kHarunea932 + "\\" + win32test::kHyo932;
    ASSERT_EQ(SetString(key, "Title", text), plat::kErrorSuccess);
    const std::uint32_t flag = 1;
    ASSERT_EQ(registry().SetValue(key, "Install KOE", plat::kRegDword, reinterpret_cast<const unsigned char*>(&flag), 4),
              plat::kErrorSuccess);

    RegKeyHandle opened = plat::kNullKey;
    ASSERT_EQ(Open("\\" + win32test::kHarunea932, &opened), plat::kErrorSuccess);
    unsigned char data[64];
    std::uint32_t size = sizeof data, type = 0;
    ASSERT_EQ(registry().QueryValue(opened, "Title", &type, data, &size), plat::kErrorSuccess);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), size), text + '\0');
    size = sizeof data;
    ASSERT_EQ(registry().QueryValue(opened, "install koe", &type, data, &size), plat::kErrorSuccess);
    EXPECT_EQ(type, plat::kRegDword);
    ASSERT_EQ(size, 4u);
    std::uint32_t read;
    std::memcpy(&read, data, 4);
    EXPECT_EQ(read, 1u);
}

TEST_F(RegistrySemantics, PredefinedRootsAreReachable) {
    for (plat::RegKeyHandle root : {plat::kHkeyCurrentUser, plat::kHkeyLocalMachine, plat::kHkeyClassesRoot, plat::kHkeyUsers}) {
        SCOPED_TRACE(root);
        char name[260];
        std::uint32_t size = sizeof name;
        EXPECT_EQ(registry().EnumKey(root, 0, name, &size), plat::kErrorSuccess);
    }
    // The Windows 9x hive is no hive of Windows NT, under Wine neither.
    plat::RegKeyHandle key = plat::kNullKey;
    EXPECT_EQ(registry().CreateKey(plat::kHkeyDynData, "Software\\MirelWin32Tests", &key), plat::kErrorInvalidHandle);
    EXPECT_EQ(registry().OpenKey(plat::kHkeyDynData, "", plat::kKeyRead, &key), plat::kErrorInvalidHandle);
}

}  // namespace
