// Text services of the system: the ANSI code page under the Japanese locale, the string
// table from the program's resources, and the conversion to UTF-16 for file names.
#include "res/resource_tables.h"
#include "tests/win32/win32_test_support.h"

namespace {

// The compiled-in UTF-8 text in the system's code page.
std::string ToAnsi(const char* utf8) {
    const int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, nullptr, 0);
    std::wstring wide(units, L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, wide.data(), units);
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string ansi(bytes, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, ansi.data(), bytes, nullptr, nullptr);
    ansi.pop_back();
    return ansi;
}

class SystemText : public win32test::Win32PlatformTest {};

TEST_F(SystemText, TheJapaneseLocaleGivesCodePage932) {
    EXPECT_EQ(platform().text.AnsiCodePage(), plat::kCodePage932);
}

TEST_F(SystemText, TheStringTableResourceHoldsTheCompiledTextsInTheCodePage) {
    int found = 0;
    for (unsigned id = 1; id < 1000; ++id) {
        const char* compiled = res::CompiledString(id);
        SCOPED_TRACE(id);
        if (compiled) {
            EXPECT_EQ(platform().text.LoadString(id), ToAnsi(compiled));
            ++found;
        } else {
            EXPECT_EQ(platform().text.LoadString(id), "");
        }
    }
    EXPECT_EQ(found, 19);
    EXPECT_EQ(platform().text.LoadString(102), win32test::kHarunea932);
}

TEST_F(SystemText, ConversionToUtf16FitsTheBufferOrFails) {
    struct Case {
        const char* what;
        std::string text;
        std::size_t capacity;
        bool ok;
        std::u16string wide;
    };
    const Case cases[] = {
        {"title", win32test::kHarunea932, 260, true, u"\u30CF\u30EB\u30CD\u30A2"},
        {"trail byte 0x5C", win32test::kHyo932 + "\\a", 260, true, u"\u8868\\a"},
        {"empty", "", 1, true, u""},
        {"exactly fits with terminator", "abc", 4, true, u"abc"},
        {"one unit short", "abcd", 4, false, u""},
        {"lone lead byte", "ab\x81", 260, false, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::u16string wide = u"untouched";
        EXPECT_EQ(platform().text.ToUtf16(c.text, c.capacity, &wide), c.ok);
        EXPECT_EQ(wide, c.ok ? c.wide : u"untouched");
    }
}

}  // namespace
