// Shell links saved through the Win32 layer, read back by the system's link object,
// under a Japanese file name.
#include "tests/win32/shell_link_reader.h"
#include "tests/win32/win32_test_support.h"

namespace {

class ShellLinks : public win32test::Win32PlatformTest {
protected:
    std::u16string Wide(const std::string& ansi) {
        std::u16string wide;
        EXPECT_TRUE(platform().text.ToUtf16(ansi, 260, &wide)) << ansi;
        return wide;
    }
    win32test::TempFolder m_dir;
};

TEST_F(ShellLinks, ASavedLinkLoadsWithItsTargetAndWorkingFolder) {
    ASSERT_TRUE(platform().shell.InitializeComponents());
    const std::string linkName = m_dir / (win32test::kHarunea + ".lnk");
    {
        auto link = platform().shell.CreateLink();
        ASSERT_TRUE(link);
        link->SetPath("C:\\Program Files\\Velstra\\Mirel\\KARVEX34.EXE");
        link->ClearArguments();
        link->SetWorkingDirectory("C:\\Program Files\\Velstra\\Mirel\\");
        ASSERT_TRUE(link->Save(Wide(linkName)));
    }
    EXPECT_TRUE(fs().Exists(linkName));

    win32test::LinkContents contents;
    std::string error;
    const std::u16string wide = Wide(linkName);
    ASSERT_TRUE(win32test::ReadShellLink(std::wstring(wide.begin(), wide.end()), &contents, &error)) << error;
    EXPECT_EQ(contents.path, "C:\\Program Files\\Velstra\\Mirel\\KARVEX34.EXE");
    EXPECT_EQ(contents.workingDirectory, "C:\\Program Files\\Velstra\\Mirel\\");
    EXPECT_EQ(contents.arguments, "");
}

TEST_F(ShellLinks, SavingIntoAMissingFolderFails) {
    ASSERT_TRUE(platform().shell.InitializeComponents());
    auto link = platform().shell.CreateLink();
    ASSERT_TRUE(link);
    link->SetPath("C:\\Program Files\\Velstra\\Mirel\\KARVEX34.EXE");
    EXPECT_FALSE(link->Save(Wide(m_dir / "Missing\\x.lnk")));
    EXPECT_FALSE(fs().Exists(m_dir / "Missing\\x.lnk"));
}

}  // namespace
