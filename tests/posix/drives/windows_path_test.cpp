#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/posix/drives/windows_path.h"
#include "tests/support/posix_fs_fixture.h"
#include "tests/support/fixtures/host_files.h"

namespace {

using testsupport::ReadHostFile;

TEST_F(PosixFsTest, TranslatesGoodPaths) {
    const struct {
        std::string windows;
        std::string host;
    } cases[] = {
        {"C:\\", DriveC()},
        {"c:\\", DriveC()},
        {"C:\\\\\\", DriveC()},
        {"C:/", DriveC()},
        {"C:\\Program Files\\Velstra\\Mirel", DriveC() + "/Program Files/Velstra/Mirel"},
        {"C:\\Program Files\\Velstra\\Mirel\\\\", DriveC() + "/Program Files/Velstra/Mirel"},
        {"C:\\mixed/separators\\here", DriveC() + "/mixed/separators/here"},
        {"q:\\Tazmel\\install.ini", DriveQ() + "/Tazmel/install.ini"},
        {"C:\\.cache\\a..b\\...", DriveC() + "/.cache/a..b/..."},
        {"C:\\ハルネア\\セーブ", DriveC() + "/ハルネア/セーブ"},
    };
    for (const auto& c : cases) {
        std::string host;
        ASSERT_TRUE(fs().ToHostPath(c.windows, &host)) << c.windows;
        EXPECT_EQ(host, c.host) << c.windows;
    }
}

// Paths that must be refused, whatever the operation.
std::vector<std::string> BadPaths() {
    return {
        "",
        "C",
        "C:",                         // drive-relative
        "C:outside.txt",              // drive-relative
        "outside.txt",                // relative
        "..\\outside.txt",            // relative
        "\\outside.txt",              // rooted without a drive
        "\\\\server\\share\\x",       // UNC
        "//server/share/x",           // UNC with slashes
        "\\\\?\\C:\\outside.txt",     // device namespace
        "D:\\x",                      // letter not mapped
        "1:\\x",
        "C:\\..",
        "C:\\..\\outside.txt",
        "C:\\..\\outside",
        "C:\\a\\..\\..\\outside.txt",
        "C:\\a/../../outside.txt",
        "C:\\.\\outside.txt",
        "C:\\a\\.",
        "C:\\\\outside.txt",          // empty component
        "C:\\a\\\\b",                 // empty component
        std::string("C:\\a\0b", 6),   // NUL inside
        std::string("C:\\..\0", 6),
        "C:\\a<b", "C:\\a>b", "C:\\a:b", "C:\\a\"b", "C:\\a|b", "C:\\a?b", "C:\\a*b",
        "C:\\a\tb", "C:\\a\nb",
    };
}

TEST_F(PosixFsTest, RefusesBadPaths) {
    for (const std::string& path : BadPaths()) {
        std::string host = "unchanged";
        EXPECT_FALSE(fs().ToHostPath(path, &host)) << path;
        EXPECT_EQ(host, "unchanged") << path;
    }
}

TEST_F(PosixFsTest, BadPathsTouchNothingOutsideTheDrives) {
    const std::string root = systemRoot().root();
    ASSERT_TRUE(testsupport::WriteHostFile(root + "/outside.txt", "keep me"));
    ASSERT_TRUE(testsupport::WriteHostFile(root + "/outside/inner.txt", "keep me too"));
    const auto rootBefore = testsupport::ListHostFolder(root);
    const auto driveBefore = testsupport::ListHostFolder(DriveC());

    for (const std::string& path : BadPaths()) {
        SCOPED_TRACE(path);
        plat::FileStatus status;
        EXPECT_FALSE(fs().Exists(path));
        EXPECT_FALSE(fs().GetStatus(path, &status));
        EXPECT_FALSE(fs().CreateFolder(path));
        EXPECT_FALSE(fs().RemoveFolder(path));
        EXPECT_FALSE(fs().RemoveFile(path));
        EXPECT_FALSE(fs().OpenForRead(path));
        EXPECT_FALSE(fs().OpenForWrite(path));
        EXPECT_FALSE(fs().SetStatus(path, plat::FileStatus{}));
        if (path != "C:") {  // "C:\\*.*" is the drive root
            EXPECT_FALSE(fs().Enumerate(path + "\\*.*"));
        }
    }

    EXPECT_EQ(ReadHostFile(root + "/outside.txt"), "keep me");
    EXPECT_EQ(ReadHostFile(root + "/outside/inner.txt"), "keep me too");
    EXPECT_EQ(testsupport::ListHostFolder(root), rootBefore);
    EXPECT_EQ(testsupport::ListHostFolder(DriveC()), driveBefore);
}

// Whatever bytes arrive, a translation either fails or stays inside a drive's folder.
TEST_F(PosixFsTest, RandomPathsNeverLeaveTheDrives) {
    ASSERT_TRUE(testsupport::WriteHostFile(DriveC() + "/a/b.txt", "x"));
    const char alphabet[] = {'C', 'c', 'Q', 'D', ':', '\\', '/', '.', '.', 'a', 'A', 'b', ' ', '\0', '*', '\xE3'};
    std::uint32_t state = 12345;
    const auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return state >> 16;
    };
    for (int round = 0; round < 5000; ++round) {
        std::string path;
        const std::size_t length = next() % 14;
        for (std::size_t i = 0; i < length; ++i) path.push_back(alphabet[next() % sizeof alphabet]);
        if (round % 3 == 0) path = "C:\\" + path;
        std::string host;
        if (!fs().ToHostPath(path, &host)) continue;
        const bool inC = host == DriveC() || host.rfind(DriveC() + "/", 0) == 0;
        const bool inQ = host == DriveQ() || host.rfind(DriveQ() + "/", 0) == 0;
        EXPECT_TRUE(inC || inQ) << path << " -> " << host;
        EXPECT_EQ((host + "/").find("/../"), std::string::npos) << path;
        EXPECT_EQ((host + "/").find("/./"), std::string::npos) << path;
        EXPECT_EQ(host.find('\0'), std::string::npos) << path;
    }
}

TEST_F(PosixFsTest, DriveRootsCannotBeCreatedRemovedOrOpened) {
    EXPECT_FALSE(fs().CreateFolder("C:\\"));
    EXPECT_FALSE(fs().RemoveFolder("C:\\"));
    EXPECT_FALSE(fs().RemoveFile("C:\\"));
    EXPECT_FALSE(fs().OpenForWrite("C:\\"));
    EXPECT_TRUE(testsupport::HostFolderExists(DriveC()));
    EXPECT_TRUE(fs().Exists("C:\\"));
}

TEST(EnumerationPattern, AcceptsOnlyWholeFolderPatterns) {
    const struct {
        const char* pattern;
        bool ok;
        const char* folder;
    } cases[] = {
        {"C:\\Data\\*.*", true, "C:\\Data\\"}, {"C:\\Data\\*", true, "C:\\Data\\"},
        {"C:\\*.*", true, "C:\\"},             {"C:\\Data", false, ""},
        {"C:\\Data\\*.txt", false, ""},        {"C:\\Data\\a*", false, ""},
        {"C:\\Data*.*", false, ""},            {"*.*", false, ""},
    };
    for (const auto& c : cases) {
        std::string folder;
        ASSERT_EQ(posixplat::FolderOfPattern(c.pattern, &folder), c.ok) << c.pattern;
        if (c.ok) {
            EXPECT_EQ(folder, c.folder) << c.pattern;
        }
    }
}

}  // namespace
