// A launcher of a run from disc images, run as a desktop runs its Exec line, with
// stand-ins for Wine, fuseiso and the mount tools that record what they were asked: which
// images it mounts before the game, which mounts it releases after it, and that the game
// starts whatever is missing.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/posix/wine/wine_launchers.h"
#include "tests/support/fixtures/host_files.h"

namespace {

// Each stand-in appends a line to $LOG. A folder counts as mounted while it holds
// .mounted; the game names the folders mounted while it runs.
const char* const kStandIns[][2] = {
    {"mountpoint", "[ -e \"$2/.mounted\" ]"},
    {"fuseiso", "echo \"fuseiso $1 $2\" >> \"$LOG\"; [ \"$1\" != \"$FAIL_MOUNT\" ] && : > \"$2/.mounted\""},
    {"fusermount", "for last; do :; done; echo \"fusermount $*\" >> \"$LOG\"; rm \"$last/.mounted\""},
    {"wine",
     "seen=; for f in \"$DISCS\"/*/.mounted; do [ -e \"$f\" ] && seen=\"$seen ${f%/.mounted}\"; done; "
     "echo \"wine $* with$seen\" >> \"$LOG\"; exit \"${GAME_STATUS:-0}\""},
    {"wineserver", "echo \"wineserver $*\" >> \"$LOG\""},
};

class LauncherPlay : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/mirel-launcher-play.XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_folder = pattern;
        // Quotes, a dollar and spaces in the paths, which the Exec line must carry whole.
        m_discs = m_folder + "/my \"discs\" $1";
        for (const auto& standIn : kStandIns) {
            const std::string path = m_folder + "/bin/" + standIn[0];
            ASSERT_TRUE(testsupport::WriteHostFile(path, std::string("#!/bin/sh\n") + standIn[1] + "\n"));
            ASSERT_EQ(::chmod(path.c_str(), 0755), 0);
        }
        // What the line needs of the system; fuseiso and the rest only as stand-ins.
        for (const char* tool : {"env", "sh", "mkdir", "rm"}) {
            const std::string command = "ln -s \"$(command -v " + std::string(tool) + ")\" " + m_folder + "/bin/";
            ASSERT_EQ(std::system(command.c_str()), 0) << tool;
        }
        ASSERT_TRUE(testsupport::WriteHostFile(m_discs + "/one.iso", "image"));
        ASSERT_TRUE(testsupport::WriteHostFile(m_discs + "/two.iso", "image"));
        ASSERT_TRUE(testsupport::WriteHostFile(m_folder + "/log", ""));
    }
    void TearDown() override { testsupport::RemoveHostTree(m_folder); }

    posixplat::WineDiscImage Disc(char letter, const std::string& image) const {
        return {letter, m_discs + "/" + image, m_discs + "/" + letter, false};
    }

    // Runs the Exec line of a launcher for `discs` as a desktop does (the entry's string
    // escapes undone, then its quoting, which is the shell's within double quotes); the
    // exit status, and the stand-ins' lines in `log`.
    int Play(const std::vector<posixplat::WineDiscImage>& discs, const std::string& environment, std::string* log) {
        const std::string text = posixplat::DesktopEntryText("Game", "/p", "/l/g.lnk", "", "", "", discs);
        const std::string::size_type start = text.find("\nExec=") + 6;
        std::string exec;
        for (std::string::size_type i = start; i < text.find('\n', start); ++i) {
            if ((text[i] == '\\' || text[i] == '%') && text[i + 1] == text[i]) ++i;
            exec.push_back(text[i]);
        }
        EXPECT_TRUE(testsupport::WriteHostFile(m_folder + "/exec", exec + "\n"));
        const std::string command = "cd " + m_folder + " && : > log && env PATH=" + m_folder + "/bin LOG=" + m_folder +
                                    "/log DISCS='" + m_discs + "' " + environment + " sh exec";
        const int status = std::system(command.c_str());
        *log = testsupport::ReadHostFile(m_folder + "/log");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string m_folder;
    std::string m_discs;
};

TEST_F(LauncherPlay, MountsForTheGameAndReleasesOnlyItsOwnMounts) {
    struct Case {
        const char* what;
        std::vector<std::string> images;  // "one.iso" on D:, then "two.iso" on E:
        const char* failingImage;  // fuseiso fails for it; or "" for none
        int gameStatus;
        bool dMountedBefore;
        int status;
        std::string log;  // $D and $E stand for the letters' folders, $I the images' folder
    };
    const std::vector<Case> cases = {
        {"one image: mounted on a folder made for it, released after the game",
         {"one.iso"}, "", 0, false, 0,
         "fuseiso $I/one.iso $D\nwine start /unix /l/g.lnk with $D\nwineserver -w\nfusermount -u $D\n"},
        {"a folder something is mounted on already: used, and left mounted",
         {"one.iso"}, "", 0, true, 0, "wine start /unix /l/g.lnk with $D\nwineserver -w\n"},
        {"an image that is missing: the game starts without it",
         {"gone.iso"}, "", 0, false, 0, "wine start /unix /l/g.lnk with\nwineserver -w\n"},
        {"a mount that fails: the game starts, nothing is released",
         {"one.iso"}, "one.iso", 0, false, 0,
         "fuseiso $I/one.iso $D\nwine start /unix /l/g.lnk with\nwineserver -w\n"},
        {"two images: both mounted for the game, each released",
         {"one.iso", "two.iso"}, "", 0, false, 0,
         "fuseiso $I/one.iso $D\nfuseiso $I/two.iso $E\nwine start /unix /l/g.lnk with $D $E\nwineserver -w\n"
         "fusermount -u $E\nfusermount -u $D\n"},
        {"the second of two fails: the first is still mounted and released",
         {"one.iso", "two.iso"}, "two.iso", 0, false, 0,
         "fuseiso $I/one.iso $D\nfuseiso $I/two.iso $E\nwine start /unix /l/g.lnk with $D\nwineserver -w\n"
         "fusermount -u $D\n"},
        {"a game that cannot start: its status, and the mount released",
         {"one.iso"}, "", 3, false, 3,
         "fuseiso $I/one.iso $D\nwine start /unix /l/g.lnk with $D\nfusermount -u $D\n"},
    };
    for (const Case& c : cases) {
        testsupport::RemoveHostTree(m_discs + "/d");
        testsupport::RemoveHostTree(m_discs + "/e");
        if (c.dMountedBefore) {
            ASSERT_TRUE(testsupport::WriteHostFile(m_discs + "/d/.mounted", ""));
        }
        std::vector<posixplat::WineDiscImage> discs;
        for (const std::string& image : c.images) discs.push_back(Disc(static_cast<char>('d' + discs.size()), image));
        std::string expected;
        for (std::string::size_type i = 0; i < c.log.size(); ++i) {
            if (c.log[i] == '$' && i + 1 < c.log.size()) {
                const char key = c.log[++i];
                expected += key == 'I' ? m_discs : m_discs + "/" + static_cast<char>(key - 'D' + 'd');
            } else {
                expected.push_back(c.log[i]);
            }
        }
        std::string log;
        const std::string environment = "GAME_STATUS=" + std::to_string(c.gameStatus) + " FAIL_MOUNT='" + m_discs +
                                        "/" + c.failingImage + "'";
        EXPECT_EQ(Play(discs, environment, &log), c.status) << c.what;
        EXPECT_EQ(log, expected) << c.what;
        EXPECT_EQ(testsupport::HostFileExists(m_discs + "/d/.mounted"), c.dMountedBefore) << c.what;
    }
}

}  // namespace
