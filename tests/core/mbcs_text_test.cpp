#include "app/mbcs_text.h"

#include <gtest/gtest.h>

namespace {

using plat::kCodePage932;
using plat::kCodePageUtf8;

// "表" in code page 932 is 0x95 0x5C: its trail byte is a backslash.
const std::string kHyo932 = "\x95\x5C";
// "ソ" (0x83 0x5C) has the same trap.
const std::string kSo932 = "\x83\x5C";
const std::string kHyoUtf8 = "\xE8\xA1\xA8";

struct FindCase {
    plat::CodePage codePage;
    std::string text;
    std::string::size_type first;
    std::string::size_type last;
};

TEST(CodePageText, BackslashSearchStepsOverDoubleByteCharacters) {
    const FindCase cases[] = {
        {kCodePage932, "C:\\" + kHyo932 + "\\x", 2, 5},
        {kCodePage932, kHyo932, mbcs::npos, mbcs::npos},
        {kCodePage932, kHyo932 + kSo932, mbcs::npos, mbcs::npos},
        {kCodePage932, "a" + kSo932 + "\\", 3, 3},
        {kCodePageUtf8, "C:\\" + kHyoUtf8 + "\\x", 2, 6},
        {kCodePageUtf8, "no backslash", mbcs::npos, mbcs::npos},
        // A truncated UTF-8 sequence must not swallow the backslash that follows it.
        {kCodePageUtf8, "\xE8\\x", 1, 1},
        // A lone lead byte at the end of a 932 text is one character.
        {kCodePage932, "\\\x95", 0, 0},
    };
    for (const FindCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text) + " cp " + std::to_string(c.codePage));
        EXPECT_EQ(mbcs::Find(c.codePage, c.text, '\\'), c.first);
        EXPECT_EQ(mbcs::FindLast(c.codePage, c.text, '\\'), c.last);
    }
}

TEST(CodePageText, FindStartsAtGivenPositionOnCharacterBoundaries) {
    const std::string text = "\"" + kHyo932 + "\"x\"";
    EXPECT_EQ(mbcs::Find(kCodePage932, text, '"', 1), 3u);
    EXPECT_EQ(mbcs::Find(kCodePage932, text, '"', 4), 5u);
    // Searching from inside a double-byte character never reports its trail byte.
    EXPECT_EQ(mbcs::Find(kCodePage932, kHyo932 + "\\", '\\', 1), 2u);
}

TEST(CodePageText, TrimRightRemovesOnlyRealTrailingBackslashes) {
    struct Case {
        plat::CodePage codePage;
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {kCodePage932, "C:\\Dir\\\\\\", "C:\\Dir"},
        {kCodePage932, "C:\\" + kHyo932, "C:\\" + kHyo932},
        {kCodePage932, "C:\\" + kHyo932 + "\\", "C:\\" + kHyo932},
        {kCodePage932, "\\\\", ""},
        {kCodePage932, "", ""},
        {kCodePageUtf8, "C:\\" + kHyoUtf8 + "\\\\", "C:\\" + kHyoUtf8},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        mbcs::TrimRight(c.codePage, text);
        EXPECT_EQ(text, c.expected) << testing::PrintToString(c.text);
    }
}

TEST(CodePageText, LowerCaseTouchesOnlySingleByteLetters) {
    // 0x82 0x60 is the full-width "Ａ"; its trail byte 0x60 and a lead byte followed by
    // 0x41 ('A') must not be changed as if they were letters.
    const std::string fullWidthA = "\x82\x60";
    const std::string leadThenA = "\x83\x41";  // "ア"
    EXPECT_EQ(mbcs::ToLower(kCodePage932, "ABC" + leadThenA + "D"), "abc" + leadThenA + "d");
    EXPECT_EQ(mbcs::ToLower(kCodePage932, fullWidthA), fullWidthA);
    EXPECT_EQ(mbcs::ToLower(kCodePageUtf8, "X.LNK"), "x.lnk");
    EXPECT_EQ(mbcs::FindText(kCodePage932, mbcs::ToLower(kCodePage932, leadThenA + "K.LNK"), ".lnk"), 3u);
}

TEST(CodePageText, Comparisons) {
    struct Case {
        plat::CodePage codePage;
        std::string a, b;
        int noCase;  // sign
        int exact;   // sign
    };
    const std::string aKana = "\x83\x41";  // "ア": lower-casing must not touch its trail 'A'
    const std::string aKanaLower = "\x83\x61";
    const Case cases[] = {
        {kCodePage932, "Setup_MIN", "setup_min", 0, -1},
        {kCodePage932, "VELSTRA", "Velstra", 0, -1},
        {kCodePage932, "Mirel", "Mirel2", -1, -1},
        {kCodePage932, aKana, aKanaLower, -1, -1},
        {kCodePage932, "C:\\A", "c:\\a", 0, -1},
        {kCodePageUtf8, kHyoUtf8, kHyoUtf8, 0, 0},
        {kCodePageUtf8, "", "", 0, 0},
    };
    auto sign = [](int v) { return (v > 0) - (v < 0); };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.a) + " vs " + testing::PrintToString(c.b));
        EXPECT_EQ(sign(mbcs::CompareNoCase(c.codePage, c.a, c.b)), c.noCase);
        EXPECT_EQ(sign(mbcs::Compare(c.codePage, c.a, c.b)), c.exact);
    }
}

}  // namespace
