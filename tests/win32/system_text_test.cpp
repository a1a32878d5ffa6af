// Text services of the system: the program's code page whatever the locale, the string
// table from the program's resources, and the conversion to UTF-16 for file names.
#include "res/resource_tables.h"
#include "tests/win32/win32_test_support.h"

namespace {

class SystemText : public win32test::Win32PlatformTest {};

// The program's own code page, not the system's: the test prefix is Japanese (932),
// and the other locales' prefixes run the driver and SETUP.EXE.
TEST_F(SystemText, TheCoreWorksInUtf8WhateverTheSystemsCodePage) {
    EXPECT_EQ(GetACP(), 932u);
    EXPECT_EQ(platform().text.AnsiCodePage(), plat::kCodePageUtf8);
}

TEST_F(SystemText, TheStringTableResourceHoldsTheCompiledTexts) {
    int found = 0;
    for (unsigned id = 1; id < 1000; ++id) {
        const char* compiled = res::CompiledString(id);
        SCOPED_TRACE(id);
        if (compiled) {
            EXPECT_EQ(platform().text.LoadString(id), compiled);
            ++found;
        } else {
            EXPECT_EQ(platform().text.LoadString(id), "");
        }
    }
    EXPECT_EQ(found, 19);
    EXPECT_EQ(platform().text.LoadString(102), win32test::kHarunea);
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
        {"title", win32test::kHarunea, 260, true, u"\u30CF\u30EB\u30CD\u30A2"},
        {"a name outside code page 932", "C:\\users\\J\xC3\xBCrgen", 260, true, u"C:\\users\\J\u00FCrgen"},
        {"beyond the basic plane: two units", "\xF0\x9F\x8E\xAE", 3, true, u"\U0001F3AE"},
        {"beyond the basic plane, no room for the terminator", "\xF0\x9F\x8E\xAE", 2, false, u""},
        {"empty", "", 1, true, u""},
        {"exactly fits with terminator", "abc", 4, true, u"abc"},
        {"one unit short", "abcd", 4, false, u""},
        {"code page 932 bytes are not UTF-8", "\x83\x6E\x83\x8B", 260, false, u""},
        {"a lone surrogate's bytes", "\xED\xA0\x80", 260, false, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::u16string wide = u"untouched";
        EXPECT_EQ(platform().text.ToUtf16(c.text, c.capacity, &wide), c.ok);
        EXPECT_EQ(wide, c.ok ? c.wide : u"untouched");
    }
}

}  // namespace
