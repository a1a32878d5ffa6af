// The text of a launcher: which paths it refuses, how Exec quotes, and where the desktop
// folder is read from user-dirs.dirs as xdg-user-dirs writes it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/posix/wine/wine_launchers.h"
#include "tests/support/fixtures/host_files.h"

namespace {

std::string ExecLine(const std::string& text) {
    const std::string::size_type start = text.find("\nExec=");
    if (start == std::string::npos) return {};
    return text.substr(start + 6, text.find('\n', start + 1) - start - 6);
}

TEST(LauncherText, RefusesWhatADesktopEntryCannotHold) {
    struct Case {
        const char* what;
        std::string prefix;
    };
    const std::vector<Case> cases = {
        {"a newline", "/home/p/pre\nfix"},       {"a carriage return", "/home/p/pre\rfix"},
        {"an escape byte", "/home/p/pre\x1b" "fix"}, {"a delete byte", "/home/p/pre\x7f" "fix"},
        {"a byte that is not UTF-8", "/home/p/pre\xff" "fix"}, {"a cut UTF-8 sequence", "/home/p/\xe3\x83"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(posixplat::DesktopEntryText("Game", c.prefix, "/l/g.lnk", "/w", ""), "") << c.what;
        EXPECT_EQ(posixplat::DesktopEntryText("Game", "/p", c.prefix + "/g.lnk", "/w", ""), "") << c.what << " (link)";
    }
    EXPECT_NE(posixplat::DesktopEntryText("ハルネア", "/home/p/.wine", "/l/ハルネア.lnk", "/w\tx", ""), "");
}

TEST(LauncherText, QuotesEachArgumentWholeAndStartsInTheLocale) {
    const std::string text =
        posixplat::DesktopEntryText("Game", "/home/p/my \"wine\" $x", "/l/100%.lnk", "", "ja_JP.UTF-8");
    // Quoted as the desktop entry rules quote, then escaped as its strings are.
    EXPECT_EQ(ExecLine(text),
              "env \"WINEPREFIX=/home/p/my \\\\\"wine\\\\\" \\\\$x\" \"LANG=ja_JP.UTF-8\" \"LC_ALL=ja_JP.UTF-8\" "
              "wine start /unix \"/l/100%%.lnk\"");
    EXPECT_EQ(ExecLine(posixplat::DesktopEntryText("Game", "/p", "/l/g.lnk", "", "")),
              "env \"WINEPREFIX=/p\" wine start /unix \"/l/g.lnk\"");
}

TEST(LauncherText, ReadsTheDesktopFolderAsXdgUserDirsWritesIt) {
    char pattern[] = "/tmp/mirel-user-dirs.XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string folder = pattern;
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    const char* savedConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string savedConfigValue = savedConfig ? savedConfig : "";
    ::setenv("HOME", "/home/p", 1);
    ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    struct Case {
        const char* line;
        const char* desktop;
    };
    const std::vector<Case> cases = {
        {"XDG_DESKTOP_DIR=\"$HOME/Desktop\"", "/home/p/Desktop"},
        {"XDG_DESKTOP_DIR=\"$HOME/My \\\"Desk\\\"\"", "/home/p/My \"Desk\""},
        {"XDG_DESKTOP_DIR=\"$HOME/back\\\\slash\"", "/home/p/back\\slash"},
        {"XDG_DESKTOP_DIR=\"/srv/desk\"", "/srv/desk"},
        {"XDG_DESKTOP_DIR=\"$HOMEWORK/x\"", "/home/p/Desktop"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(testsupport::WriteHostFile(folder + "/user-dirs.dirs", std::string("# written\n") + c.line + "\n"));
        EXPECT_EQ(posixplat::DefaultLauncherFolders().desktop, c.desktop) << c.line;
    }
    ::setenv("HOME", savedHome.c_str(), 1);
    if (savedConfig) ::setenv("XDG_CONFIG_HOME", savedConfigValue.c_str(), 1);
    else ::unsetenv("XDG_CONFIG_HOME");
    testsupport::RemoveHostTree(folder);
}

}  // namespace
