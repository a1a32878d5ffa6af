#include <gtest/gtest.h>

#include "tests/core/dialog_fixture.h"

namespace {

struct SplitCase {
    std::string text;
    char delimiter;
    std::vector<std::string> items;
};

class SplitListTest : public DialogFixture {};

TEST_F(SplitListTest, WorkedExamples) {
    const SplitCase cases[] = {
        {"A,B,C", ',', {"A", "B", "C"}},
        {"A,,B", ',', {"A", "", "B"}},
        {"A,", ',', {"A"}},
        {",A", ',', {"", "A"}},
        {",", ',', {""}},
        {"", ',', {}},
        {"A, B", ',', {"A", " B"}},
        {"\"x,y\",B", ',', {"x,y", "B"}},
        {"\"\"", ',', {""}},
        {"\"\",B", ',', {"", "B"}},
        {"\"x\"y,B", ',', {"x", "", "B"}},
        {"\"x\",", ',', {"x"}},
        {"\"pq,rs", ',', {"\"pq", "rs"}},
        {"\"", ',', {"\""}},
        {"\"a\"\"b\",C", ',', {"a", "b\"", "C"}},
        {" \"x,y\"", ',', {" \"x", "y\""}},
        {"CUR,MCG,MSK,TXT,MSE", ',', {"CUR", "MCG", "MSK", "TXT", "MSE"}},
        {"HKEY_CURRENT_USER\\Software\\Velstra\\Mirel", '\\', {"HKEY_CURRENT_USER", "Software", "Velstra", "Mirel"}},
        {"KARVEX34.EXE,KARVEX34.DAT,", ',', {"KARVEX34.EXE", "KARVEX34.DAT"}},
    };
    for (const SplitCase& c : cases) {
        CStringArray items;
        const int count = dlg().SplitList(c.text, items, c.delimiter);
        EXPECT_EQ(items, c.items) << testing::PrintToString(c.text);
        EXPECT_EQ(count, static_cast<int>(c.items.size())) << testing::PrintToString(c.text);
    }
}

TEST_F(SplitListTest, TrailByteOfDoubleByteCharacterIsNotADelimiter) {
    strings().SetCodePage(plat::kCodePage932);
    const std::string hyo = "\x95\x5C";  // "表"
    const SplitCase cases[] = {
        {"HKCU\\" + hyo + "\\Mirel", '\\', {"HKCU", hyo, "Mirel"}},
        {hyo + "," + hyo, ',', {hyo, hyo}},
        {"\"" + hyo + "\\\",x", '\\', {hyo + "\\", "x"}},
    };
    for (const SplitCase& c : cases) {
        CStringArray items;
        EXPECT_EQ(dlg().SplitList(c.text, items, c.delimiter), static_cast<int>(c.items.size()));
        EXPECT_EQ(items, c.items) << testing::PrintToString(c.text);
    }
}

TEST_F(SplitListTest, SecondCallDiscardsEarlierItemsAndCallerTextIsKept) {
    CStringArray items;
    const std::string text = "A,B";
    dlg().SplitList("X,Y,Z", items, ',');
    EXPECT_EQ(dlg().SplitList(text, items, ','), 2);
    EXPECT_EQ(items, (CStringArray{"A", "B"}));
    EXPECT_EQ(text, "A,B");
    EXPECT_EQ(dlg().SplitList("", items, ','), 0);
    EXPECT_TRUE(items.empty());
}

}  // namespace
