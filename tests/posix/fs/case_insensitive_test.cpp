#include <gtest/gtest.h>

#include "tests/support/posix_fs_fixture.h"
#include "tests/support/fixtures/host_files.h"

namespace {

using testsupport::ReadHostFile;
using testsupport::WriteHostFile;

// A disc mounted without name translation shows lower-case names.
class CaseInsensitiveTest : public PosixFsTest {
protected:
    void SetUp() override {
        PosixFsTest::SetUp();
        ASSERT_TRUE(WriteHostFile(DriveQ() + "/tazmel/install.ini", "marker"));
        ASSERT_TRUE(WriteHostFile(DriveQ() + "/tazmel/cur/sub/file_a.dat", "A"));
    }
};

TEST_F(CaseInsensitiveTest, FindsExistingEntriesWhateverTheCase) {
    const struct {
        const char* windows;
        const char* relative;
    } cases[] = {
        {"Q:\\Tazmel\\install.ini", "/tazmel/install.ini"},
        {"Q:\\TAZMEL\\INSTALL.INI", "/tazmel/install.ini"},
        {"Q:\\Tazmel\\CUR\\SUB\\FILE_A.DAT", "/tazmel/cur/sub/file_a.dat"},
        {"Q:\\tazmel\\CUR\\sub\\file_a.dat", "/tazmel/cur/sub/file_a.dat"},  // exact, other case, exact
        {"Q:\\Tazmel\\CUR\\New Folder\\X.TXT", "/tazmel/cur/New Folder/X.TXT"},  // missing: as given
        {"Q:\\TAZMEL\\Cur\\Sub\\", "/tazmel/cur/sub"},
    };
    for (const auto& c : cases) {
        std::string host;
        ASSERT_TRUE(fs().ToHostPath(c.windows, &host)) << c.windows;
        EXPECT_EQ(host, DriveQ() + c.relative) << c.windows;
    }
    EXPECT_TRUE(fs().Exists("Q:\\TAZMEL\\INSTALL.INI"));
    EXPECT_EQ(ReadThrough("q:\\Tazmel\\Cur\\Sub\\File_A.Dat"), "A");
}

TEST_F(CaseInsensitiveTest, ExactNameWinsOverOtherCases) {
    ASSERT_TRUE(WriteHostFile(DriveC() + "/data/x", "lower"));
    ASSERT_TRUE(WriteHostFile(DriveC() + "/Data/x", "mixed"));
    EXPECT_EQ(ReadThrough("C:\\data\\x"), "lower");
    EXPECT_EQ(ReadThrough("C:\\Data\\x"), "mixed");
    // Neither matches exactly: the first in byte order, the same every time.
    EXPECT_EQ(ReadThrough("C:\\DATA\\x"), "mixed");
}

TEST_F(CaseInsensitiveTest, NewEntriesKeepTheGivenNameInsideExistingFolders) {
    ASSERT_TRUE(fs().CreateFolder("Q:\\TAZMEL\\CUR\\NewFolder"));
    WriteThrough("Q:\\TAZMEL\\CUR\\NewFolder\\ReadMe.TXT", "hello");
    EXPECT_EQ(ReadHostFile(DriveQ() + "/tazmel/cur/NewFolder/ReadMe.TXT"), "hello");
    EXPECT_FALSE(testsupport::HostFolderExists(DriveQ() + "/TAZMEL"));
}

TEST_F(CaseInsensitiveTest, AnotherCaseOfAnExistingNameIsTheSameEntry) {
    // Writing overwrites the existing file instead of making a second one.
    WriteThrough("Q:\\Tazmel\\INSTALL.INI", "rewritten");
    EXPECT_EQ(ReadHostFile(DriveQ() + "/tazmel/install.ini"), "rewritten");
    EXPECT_EQ(testsupport::ListHostFolder(DriveQ() + "/tazmel"), (std::vector<std::string>{"cur", "install.ini"}));
    // A folder that exists under another case already exists.
    EXPECT_FALSE(fs().CreateFolder("Q:\\TAZMEL\\CUR"));
    EXPECT_TRUE(fs().RemoveFile("Q:\\TAZMEL\\Install.Ini"));
    EXPECT_FALSE(testsupport::HostFileExists(DriveQ() + "/tazmel/install.ini"));
}

}  // namespace
