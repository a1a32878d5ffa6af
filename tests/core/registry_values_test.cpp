// Single values: what ReadStringValue makes of data of every size and type, and the
// exact bytes the writers store.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registry/name_buffers.h"
#include "tests/core/registry_test_env.h"

namespace {

constexpr const char* kKey = "Software\\ValueTest";
constexpr const char* kUnchanged = "unchanged";

struct ReadCase {
    const char* name;
    std::uint32_t type;
    std::string data;
    int result;
    std::string text;
};

std::string Bytes(std::initializer_list<unsigned char> bytes) { return std::string(bytes.begin(), bytes.end()); }

// The buffer holds 511 bytes of text in code page 932; in UTF-8 it holds whatever those
// could become (three bytes for each half-width katakana), so a value a Japanese system
// reads back whole reads back whole here too.
TEST(ReadStringValue, TakesTheBytesBeforeTheFirstZeroFromABufferSizedByTheCodePage) {
    const std::string nul(1, '\0');
    const std::string halfWidthA = "\xEF\xBD\xB1";  // U+FF71, one byte in code page 932
    std::string katakana511;
    for (int i = 0; i < 511; ++i) katakana511 += halfWidthA;
    for (const plat::CodePage codePage : {plat::kCodePage932, plat::kCodePageUtf8}) {
        const std::uint32_t size = registry::ReadBufferSize(codePage);
        SCOPED_TRACE("code page " + std::to_string(codePage) + ", " + std::to_string(size) + " bytes");
        std::vector<ReadCase> cases = {
            {"string filling the buffer with its zero", plat::kRegSz, std::string(size - 1, 'b') + nul, 1,
             std::string(size - 1, 'b')},
            {"string one byte over", plat::kRegSz, std::string(size, 'c') + nul, 0, kUnchanged},
            {"a full buffer without a zero", plat::kRegBinary, std::string(size, 'd'), 1, std::string(size, 'd')},
            {"one byte over without a zero", plat::kRegBinary, std::string(size + 1, 'e'), 0, kUnchanged},
            {"data after a first zero", plat::kRegSz, "ab" + nul + "cd" + nul, 1, "ab"},
            {"one zero byte", plat::kRegSz, nul, 1, ""},
            {"no data at all", plat::kRegSz, "", 1, ""},
            {"DWORD 1", plat::kRegDword, Bytes({1, 0, 0, 0}), 1, "\x01"},
            {"DWORD 0x00410042", plat::kRegDword, Bytes({0x42, 0, 0x41, 0}), 1, "B"},
            {"DWORD without a zero byte", plat::kRegDword, Bytes({0x44, 0x43, 0x42, 0x41}), 1, "DCBA"},
        };
        if (codePage == plat::kCodePage932) {
            EXPECT_EQ(size, 512u);
        } else {
            cases.push_back({"Japanese text", plat::kRegSz, "C:\\ゲーム\\表" + nul, 1, "C:\\ゲーム\\表"});
            cases.push_back({"511 half-width katakana", plat::kRegSz, katakana511 + nul, 1, katakana511});
        }
        for (const ReadCase& c : cases) {
            SCOPED_TRACE(c.name);
            RegistryTestEnv env;
            env.strings.SetCodePage(codePage);
            env.PutRaw(kKey, "Value", c.type, c.data);
            plat::RegKeyHandle key = plat::kNullKey;
            ASSERT_EQ(env.real().registry.OpenKey(plat::kHkeyCurrentUser, kKey, plat::kKeyRead, &key),
                      plat::kErrorSuccess);

            std::string text = kUnchanged;
            EXPECT_EQ(env.dlg.ReadStringValue(key, "Value", text), c.result);
            EXPECT_EQ(text, c.text);
            std::string missing = kUnchanged;
            EXPECT_EQ(env.dlg.ReadStringValue(key, "No such value", missing), 0);
            EXPECT_EQ(missing, kUnchanged);
            env.real().registry.CloseKey(key);
        }
    }
}

TEST(WriteValues, StoreTextWithItsTerminatorAndWordsLittleEndian) {
    RegistryTestEnv env;
    plat::RegKeyHandle key = plat::kNullKey;
    ASSERT_EQ(env.real().registry.CreateKey(plat::kHkeyCurrentUser, kKey, &key), plat::kErrorSuccess);

    EXPECT_EQ(env.dlg.WriteStringValue(key, "Text", "C:\\Program Files\\表"), 1);
    EXPECT_EQ(env.dlg.WriteStringValue(key, "Empty", ""), 1);
    EXPECT_EQ(env.dlg.WriteDwordValue(key, "Word", 0x12345678), 1);
    EXPECT_EQ(env.dlg.WriteDwordValue(key, "Zero", 0), 1);
    env.real().registry.CloseKey(key);

    EXPECT_EQ(env.Value(kKey, "Text"), Sz("C:\\Program Files\\表"));
    EXPECT_EQ(env.Value(kKey, "Empty"), (RawValue{plat::kRegSz, std::string(1, '\0')}));
    EXPECT_EQ(env.Value(kKey, "Word"), (RawValue{plat::kRegDword, Bytes({0x78, 0x56, 0x34, 0x12})}));
    EXPECT_EQ(env.Value(kKey, "Zero"), Dword(0));

    // A key that is no longer open takes nothing.
    EXPECT_EQ(env.dlg.WriteStringValue(key, "Late", "x"), 0);
    EXPECT_EQ(env.dlg.WriteDwordValue(key, "Late", 1), 0);
    EXPECT_FALSE(env.Value(kKey, "Late").has_value());
}

}  // namespace
