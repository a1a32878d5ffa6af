// The registry behaviour the core relies on, the same on every build: names without
// regard to case, sub-key order, buffers too small, deletion, dead handles, text and
// DWORDs kept byte for byte.
#include <cstring>
#include <vector>

#include "tests/conformance/conformance_system.h"

namespace conformance {
namespace {

using plat::RegKeyHandle;
using plat::RegResult;

class RegistryConformance : public Conformance {
protected:
    ~RegistryConformance() override {
        for (RegKeyHandle key : m_open) registry().CloseKey(key);
    }
    RegKeyHandle Create(const std::string& below) {
        RegKeyHandle key = plat::kNullKey;
        EXPECT_EQ(registry().CreateKey(plat::kHkeyCurrentUser, Key(below), &key), plat::kErrorSuccess) << below;
        m_open.push_back(key);
        return key;
    }
    RegResult Open(const std::string& below, RegKeyHandle* key, std::uint32_t access = plat::kKeyRead) {
        const RegResult result = registry().OpenKey(plat::kHkeyCurrentUser, Key(below), access, key);
        if (result == plat::kErrorSuccess) m_open.push_back(*key);
        return result;
    }
    RegResult SetString(RegKeyHandle key, const std::string& name, const std::string& text) {
        return registry().SetValue(key, name, plat::kRegSz, reinterpret_cast<const unsigned char*>(text.c_str()),
                                   static_cast<std::uint32_t>(text.size() + 1));
    }
    // The whole value's bytes, asking for its size first; the result of the failing
    // call otherwise.
    RegResult Query(RegKeyHandle key, const std::string& name, std::string* bytes, std::uint32_t* type = nullptr) {
        std::uint32_t size = 0;
        RegResult result = registry().QueryValue(key, name, type, nullptr, &size);
        if (result != plat::kErrorSuccess) return result;
        bytes->assign(size, '\0');
        result = registry().QueryValue(key, name, type, reinterpret_cast<unsigned char*>(bytes->data()), &size);
        bytes->resize(size);
        return result;
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

    std::vector<RegKeyHandle> m_open;
};

TEST_F(RegistryConformance, NamesIgnoreCaseAndKeepTheCaseTheyWereCreatedWith) {
    RegKeyHandle created = Create("Velstra\\Mirel");
    Create("VELSTRA\\mirel\\Data");
    RegKeyHandle opened = plat::kNullKey;
    ASSERT_EQ(Open("velstra\\MIREL", &opened), plat::kErrorSuccess);
    RegKeyHandle parent = plat::kNullKey;
    ASSERT_EQ(Open("", &parent), plat::kErrorSuccess);
    EXPECT_EQ(SubKeys(parent), std::vector<std::string>{"Velstra"});
    EXPECT_EQ(SubKeys(opened), std::vector<std::string>{"Data"});

    // A second set in other case replaces the data and keeps the first name.
    ASSERT_EQ(SetString(created, "SetupMode", "Setup_MIN"), plat::kErrorSuccess);
    ASSERT_EQ(SetString(created, "SETUPMODE", "Setup_MAX"), plat::kErrorSuccess);
    std::string bytes;
    std::uint32_t type = 0;
    ASSERT_EQ(Query(opened, "setupmode", &bytes, &type), plat::kErrorSuccess);
    EXPECT_EQ(type, plat::kRegSz);
    EXPECT_EQ(bytes, std::string("Setup_MAX\0", 10));
    char name[32];
    std::uint32_t nameSize = sizeof name;
    ASSERT_EQ(registry().EnumValue(opened, 0, name, &nameSize), plat::kErrorSuccess);
    EXPECT_EQ(std::string(name, nameSize), "SetupMode");
    nameSize = sizeof name;
    EXPECT_EQ(registry().EnumValue(opened, 1, name, &nameSize), plat::kErrorNoMoreItems);
}

TEST_F(RegistryConformance, SubKeysEnumerateInCaseInsensitiveOrder) {
    for (const std::string& name : {std::string("b"), system().Harunea(), std::string("_x"), std::string("A"),
                                    std::string("C"), std::string("a2"), std::string("Velstra")}) {
        Create(name);
    }
    RegKeyHandle key = plat::kNullKey;
    ASSERT_EQ(Open("", &key), plat::kErrorSuccess);
    std::vector<std::string> expected = {"A", "a2", "b", "C", "Velstra", "_x", system().Harunea()};
    if (system().ListsSubKeysFoldedToLowerCase()) expected = {"_x", "A", "a2", "b", "C", "Velstra", system().Harunea()};
    EXPECT_EQ(SubKeys(key), expected);
}

TEST_F(RegistryConformance, TooSmallBuffersFailWithMoreDataAndAreLeftAlone) {
    RegKeyHandle key = Create("Buffers\\Record");
    const std::string path = "C:\\Program Files\\Velstra\\Mirel";
    ASSERT_EQ(SetString(key, "Path", path), plat::kErrorSuccess);
    const std::uint32_t needed = static_cast<std::uint32_t>(path.size() + 1);

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
            EXPECT_EQ(type, plat::kRegSz);
            EXPECT_EQ(std::strcmp(reinterpret_cast<char*>(buffer.data()), path.c_str()), 0);
        }
    }

    // Names need room for their terminator: "Record" as a key's name, "Path" as a value's.
    // (What a listing leaves in a buffer too small differs, and nothing reads it.)
    RegKeyHandle parent = plat::kNullKey;
    ASSERT_EQ(Open("Buffers", &parent), plat::kErrorSuccess);
    for (bool values : {false, true}) {
        SCOPED_TRACE(values ? "value name" : "key name");
        const std::string expected = values ? "Path" : "Record";
        const auto list = [&](char* buffer, std::uint32_t* size) {
            return values ? registry().EnumValue(key, 0, buffer, size) : registry().EnumKey(parent, 0, buffer, size);
        };
        char buffer[8];
        std::uint32_t size = static_cast<std::uint32_t>(expected.size());
        EXPECT_EQ(list(buffer, &size), plat::kErrorMoreData);
        size = static_cast<std::uint32_t>(expected.size() + 1);
        ASSERT_EQ(list(buffer, &size), plat::kErrorSuccess);
        EXPECT_STREQ(buffer, expected.c_str());
        EXPECT_EQ(size, expected.size());
    }
}

// Names are limited in characters, not bytes: 255 for a key, 16383 for a value, in
// ASCII or in double-byte text alike; one more is refused as invalid.
TEST_F(RegistryConformance, NamesUpToWindowsLimitsAndNotOneCharacterMore) {
    RegKeyHandle key = Create("Limits");
    const auto repeated = [](const std::string& piece, std::size_t times) {
        std::string text;
        for (std::size_t i = 0; i < times; ++i) text += piece;
        return text;
    };
    // "ハルネア" is four characters.
    const std::string japanese255 = repeated(system().Harunea(), 63) + "abc";
    struct Case {
        const char* what;
        std::string name;
        bool key;  // a key's name, else a value's
        RegResult result;
    };
    const Case cases[] = {
        {"255 ASCII characters", std::string(255, 'k'), true, plat::kErrorSuccess},
        {"256 ASCII characters", std::string(256, 'k'), true, plat::kErrorInvalidParameter},
        {"255 characters, 252 of them double-byte", japanese255, true, plat::kErrorSuccess},
        {"256 characters, 252 of them double-byte", japanese255 + "d", true, plat::kErrorInvalidParameter},
        {"16383 ASCII characters", std::string(16383, 'v'), false, plat::kErrorSuccess},
        {"16384 ASCII characters", std::string(16384, 'v'), false, plat::kErrorInvalidParameter},
        {"16383 characters, 16380 double-byte", repeated(system().Harunea(), 4095) + "abc", false,
         plat::kErrorSuccess},
        {"16384 characters, 16380 double-byte", repeated(system().Harunea(), 4095) + "abcd", false,
         plat::kErrorInvalidParameter},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.key && c.result != plat::kErrorSuccess && system().AcceptsOverlongKeyNames()) continue;
        if (c.key) {
            RegKeyHandle sub = plat::kNullKey;
            const RegResult created = registry().CreateKey(key, c.name, &sub);
            EXPECT_EQ(created, c.result);
            if (created == plat::kErrorSuccess) registry().CloseKey(sub);
            RegKeyHandle opened = plat::kNullKey;
            const bool found = registry().OpenKey(key, c.name, plat::kKeyRead, &opened) == plat::kErrorSuccess;
            EXPECT_EQ(found, c.result == plat::kErrorSuccess);
            if (found) registry().CloseKey(opened);
        } else {
            EXPECT_EQ(SetString(key, c.name, "x"), c.result);
        }
    }
}

TEST_F(RegistryConformance, MissingThingsAndEndsOfEnumeration) {
    RegKeyHandle key = Create("Lonely");
    RegKeyHandle out = plat::kNullKey;
    EXPECT_EQ(Open("Lonely\\Nothing", &out), plat::kErrorFileNotFound);
    std::string bytes;
    EXPECT_EQ(Query(key, "Nothing", &bytes), plat::kErrorFileNotFound);
    char name[16];
    std::uint32_t size = sizeof name;
    EXPECT_EQ(registry().EnumKey(key, 0, name, &size), plat::kErrorNoMoreItems);
    size = sizeof name;
    EXPECT_EQ(registry().EnumValue(key, 0, name, &size), plat::kErrorNoMoreItems);
    EXPECT_EQ(registry().DeleteKey(plat::kHkeyCurrentUser, Key("Lonely\\Nothing")), plat::kErrorFileNotFound);

    // The default value has the empty name and enumerates as such.
    ASSERT_EQ(SetString(key, "", "default"), plat::kErrorSuccess);
    size = sizeof name;
    ASSERT_EQ(registry().EnumValue(key, 0, name, &size), plat::kErrorSuccess);
    EXPECT_EQ(size, 0u);
    ASSERT_EQ(Query(key, "", &bytes), plat::kErrorSuccess);
    EXPECT_EQ(bytes, std::string("default\0", 8));
}

TEST_F(RegistryConformance, DeletingAKeyWithSubKeysIsRefused) {
    Create("Mirel\\Data");
    EXPECT_EQ(registry().DeleteKey(plat::kHkeyCurrentUser, Key("Mirel")), plat::kErrorAccessDenied);
    EXPECT_EQ(registry().DeleteKey(plat::kHkeyCurrentUser, Key("mirel\\DATA")), plat::kErrorSuccess);
    EXPECT_EQ(registry().DeleteKey(plat::kHkeyCurrentUser, Key("Mirel\\Data")), plat::kErrorFileNotFound);
    EXPECT_EQ(registry().DeleteKey(plat::kHkeyCurrentUser, Key("Mirel")), plat::kErrorSuccess);
    RegKeyHandle gone = plat::kNullKey;
    EXPECT_EQ(Open("Mirel", &gone), plat::kErrorFileNotFound);
}

TEST_F(RegistryConformance, AHandleToADeletedKeyFailsEveryLaterCall) {
    RegKeyHandle key = Create("Doomed");
    RegKeyHandle sameKey = plat::kNullKey;
    ASSERT_EQ(Open("DOOMED", &sameKey, plat::kKeyAllAccess), plat::kErrorSuccess);
    ASSERT_EQ(SetString(key, "Value", "x"), plat::kErrorSuccess);
    ASSERT_EQ(registry().DeleteKey(plat::kHkeyCurrentUser, Key("Doomed")), plat::kErrorSuccess);

    for (RegKeyHandle handle : {key, sameKey}) {
        char name[64];
        std::uint32_t size = sizeof name;
        EXPECT_EQ(registry().EnumKey(handle, 0, name, &size), plat::kErrorKeyDeleted);
        size = sizeof name;
        EXPECT_EQ(registry().EnumValue(handle, 0, name, &size), plat::kErrorKeyDeleted);
        std::string bytes;
        EXPECT_EQ(Query(handle, "Value", &bytes), plat::kErrorKeyDeleted);
        EXPECT_EQ(SetString(handle, "Value", "y"), plat::kErrorKeyDeleted);
        RegKeyHandle child = plat::kNullKey;
        EXPECT_NE(registry().CreateKey(handle, "Child", &child), plat::kErrorSuccess);
    }
}

TEST_F(RegistryConformance, CodePageTextAndDwordsRoundTripByteForByte) {
    RegKeyHandle key = Create(system().Harunea());
    const std::string text = system().Harunea() + "\\" + system().Hyo();
    ASSERT_EQ(SetString(key, "Title", text), plat::kErrorSuccess);
    const unsigned char flag[4] = {1, 0, 0, 0};
    ASSERT_EQ(registry().SetValue(key, "Install KOE", plat::kRegDword, flag, 4), plat::kErrorSuccess);

    RegKeyHandle opened = plat::kNullKey;
    ASSERT_EQ(Open(system().Harunea(), &opened), plat::kErrorSuccess);
    std::string bytes;
    std::uint32_t type = 0;
    ASSERT_EQ(Query(opened, "Title", &bytes, &type), plat::kErrorSuccess);
    EXPECT_EQ(bytes, text + '\0');
    ASSERT_EQ(Query(opened, "install koe", &bytes, &type), plat::kErrorSuccess);
    EXPECT_EQ(type, plat::kRegDword);
    EXPECT_EQ(bytes, std::string("\x01\0\0\0", 4));
}

TEST_F(RegistryConformance, TheWindows9xHiveIsNoHive) {
    RegKeyHandle key = plat::kNullKey;
    EXPECT_EQ(registry().CreateKey(plat::kHkeyDynData, "Software\\MirelConformance", &key), plat::kErrorInvalidHandle);
    EXPECT_EQ(registry().OpenKey(plat::kHkeyDynData, "", plat::kKeyRead, &key), plat::kErrorInvalidHandle);
}

}  // namespace
}  // namespace conformance
