#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "tests/support/posix_fs_fixture.h"
#include "tests/support/fixtures/host_files.h"

namespace {

using testsupport::ListHostFolder;
using testsupport::ReadHostFile;
using testsupport::WriteHostFile;

// Sets a folder's time stamps far into the past, so that any later change to it shows.
void AgeFolder(const std::string& hostFolder) {
    const timespec old[2] = {{946684800, 0}, {946684800, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, hostFolder.c_str(), old, 0), 0);
}

TEST_F(PosixFsTest, FilesCreatedOneAfterAnotherAreFoundUnderAnyCase) {
    ASSERT_TRUE(fs().CreateFolder("C:\\Set"));
    for (int i = 0; i < 20; ++i) WriteThrough("C:\\Set\\File" + std::to_string(i) + ".dat", "first");
    for (int i = 0; i < 20; ++i) WriteThrough("C:\\SET\\FILE" + std::to_string(i) + ".DAT", "second");
    const auto names = ListHostFolder(DriveC() + "/Set");
    ASSERT_EQ(names.size(), 20u);
    for (const std::string& name : names) {
        EXPECT_EQ(name.substr(0, 4), "File");
        EXPECT_EQ(ReadHostFile(DriveC() + "/Set/" + name), "second");
    }
}

TEST_F(PosixFsTest, NamesAddedByOthersAreSeen) {
    ASSERT_TRUE(fs().CreateFolder("C:\\Shared"));
    WriteThrough("C:\\Shared\\mine.txt", "mine");
    AgeFolder(DriveC() + "/Shared");
    // Looking for a missing name lists the folder as it is now, with its old stamps.
    EXPECT_FALSE(fs().Exists("C:\\Shared\\MISSING.TXT"));
    // Another program adds a file; the folder's stamps move on.
    ASSERT_TRUE(WriteHostFile(DriveC() + "/Shared/theirs.txt", "theirs"));
    WriteThrough("C:\\Shared\\THEIRS.TXT", "overwritten");
    EXPECT_EQ(ReadHostFile(DriveC() + "/Shared/theirs.txt"), "overwritten");
    EXPECT_EQ(ListHostFolder(DriveC() + "/Shared"),
              (std::vector<std::string>{"mine.txt", "theirs.txt"}));
}

TEST_F(PosixFsTest, ARemovedNameIsGoneForTheNextCreation) {
    ASSERT_TRUE(fs().CreateFolder("C:\\Dir"));
    WriteThrough("C:\\Dir\\lower.txt", "x");
    ASSERT_TRUE(fs().CreateFolder("C:\\Dir\\sub"));
    ASSERT_TRUE(fs().RemoveFile("C:\\DIR\\LOWER.TXT"));
    ASSERT_TRUE(fs().RemoveFolder("C:\\DIR\\SUB"));
    WriteThrough("C:\\Dir\\LOWER.TXT", "y");
    ASSERT_TRUE(fs().CreateFolder("C:\\Dir\\SUB"));
    EXPECT_EQ(ListHostFolder(DriveC() + "/Dir"), (std::vector<std::string>{"LOWER.TXT", "SUB"}));
}

TEST_F(PosixFsTest, ManyFoldersStayCorrectBeyondTheCachedFew) {
    for (int i = 0; i < 50; ++i) {
        const std::string folder = "C:\\F" + std::to_string(i);
        ASSERT_TRUE(fs().CreateFolder(folder));
        WriteThrough(folder + "\\Name.txt", "a");
    }
    for (int i = 49; i >= 0; --i) WriteThrough("C:\\f" + std::to_string(i) + "\\NAME.TXT", "b");
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(ListHostFolder(DriveC() + "/F" + std::to_string(i)), (std::vector<std::string>{"Name.txt"}));
        EXPECT_EQ(ReadHostFile(DriveC() + "/F" + std::to_string(i) + "/Name.txt"), "b");
    }
}

}  // namespace
