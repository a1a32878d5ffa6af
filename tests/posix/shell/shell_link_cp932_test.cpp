// The code page 932 bytes of a link's ANSI target path.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/posix/codepage/cp932_encoding.h"

namespace {

using posixplat::Utf16ToCp932;

TEST(ShellLinkCp932, EncodesKnownCharacters) {
    const struct {
        std::u16string text;
        std::string bytes;
    } cases[] = {
        {u"C:\\Program Files\\KARVEX34.EXE ~!", "C:\\Program Files\\KARVEX34.EXE ~!"},
        {u"\u30CF\u30EB\u30CD\u30A2", "\x83\x6E\x83\x8B\x83\x6C\x83\x41"},  // ハルネア
        {u"\u8868", "\x95\x5C"},                                            // 表: trail byte 0x5C
        {u"\u30BD", "\x83\x5C"},                                            // ソ
        {u"\uFF71\uFF9F", "\xB1\xDF"},                                      // half-width katakana
        {u"\u3000", "\x81\x40"},                                            // ideographic space
        {u"\u2460", "\x87\x40"},                                            // ① (NEC row 13)
        {u"\u7E8A", "\xFA\x5C"},                                            // 纊 (IBM extension)
        {u"\u2170", "\xFA\x40"},                                            // ⅰ
        {u"\uFF5E", "\x81\x60"},                                            // ～ as Windows maps it
        {u"\u2225", "\x81\x61"},                                            // ∥
        {u"\uFFE2", "\x81\xCA"},                                            // ￢
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf16ToCp932(c.text), c.bytes) << testing::PrintToString(c.bytes);
    }
}

// A character without an exact counterpart becomes '?': never a best-fit neighbour that
// would read back as a different name, and never an ASCII byte such as a backslash.
TEST(ShellLinkCp932, ReplacesWhatHasNoExactCounterpart) {
    const struct {
        std::u16string text;
        std::string bytes;
    } cases[] = {
        {u"a\u00A5b", "a?b"},               // ¥: best fit would be 0x5C, a backslash
        {u"\u203E", "?"},                   // overline: best fit would be '~'
        {u"\u301C", "?"},                   // wave dash: 0x8160 reads back as U+FF5E
        {u"\u2016", "?"},                   // double vertical line: reads back as U+2225
        {u"caf\u00E9", "caf?"},             // é
        {u"\u4EEC", "?"},                   // a simplified Chinese character
        {u"x\U0001F600y", "x?y"},           // outside the BMP: one character, one '?'
        {std::u16string(u"a\xD800" "b", 3), "a?b"},  // unpaired high surrogate
        {std::u16string(u"a\xDC00", 2), "a?"},       // unpaired low surrogate
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf16ToCp932(c.text), c.bytes) << testing::PrintToString(c.bytes);
    }
}

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// Over the whole Basic Multilingual Plane: every non-ASCII character encodes to one
// well-formed code page 932 character or '?', and no two characters share bytes, so
// the ANSI path of a link can never name a file other than its target.
TEST(ShellLinkCp932, EveryCharacterEncodesToADistinctWellFormedSequence) {
    std::map<std::string, unsigned> seen;
    int mapped = 0;
    for (unsigned u = 0x80; u <= 0xFFFF; ++u) {
        if (u >= 0xD800 && u <= 0xDFFF) continue;
        const std::string bytes = Utf16ToCp932(std::u16string(1, static_cast<char16_t>(u)));
        if (bytes == "?") continue;
        ++mapped;
        const auto b0 = static_cast<unsigned char>(bytes[0]);
        if (bytes.size() == 1) {
            EXPECT_TRUE(b0 >= 0xA1 && b0 <= 0xDF) << std::hex << u;
        } else {
            ASSERT_EQ(bytes.size(), 2u) << std::hex << u;
            EXPECT_TRUE(IsLeadByte(b0) && IsTrailByte(static_cast<unsigned char>(bytes[1]))) << std::hex << u;
        }
        const auto [it, inserted] = seen.emplace(bytes, u);
        EXPECT_TRUE(inserted) << std::hex << u << " shares its bytes with " << it->second;
    }
    // JIS X 0208, its Windows extensions and the half-width katakana.
    EXPECT_GT(mapped, 7000);
}

}  // namespace
