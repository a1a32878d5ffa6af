#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/posix_fs_fixture.h"
#include "tests/support/fixtures/host_files.h"

namespace {

using testsupport::ReadHostFile;
using testsupport::WriteHostFile;

mode_t ModeOf(const std::string& hostPath) {
    struct stat info;
    EXPECT_EQ(::stat(hostPath.c_str(), &info), 0) << hostPath;
    return info.st_mode & 07777;
}

// CI runs as root, for whom permission bits stop nothing; the read-only attribute must
// hold anyway.
class ReadOnlyTest : public PosixFsTest {
protected:
    void SetUp() override {
        PosixFsTest::SetUp();
        m_host = DriveC() + "/locked.dat";
        ASSERT_TRUE(WriteHostFile(m_host, "original"));
        ASSERT_EQ(::chmod(m_host.c_str(), 0444), 0);
    }
    std::string m_host;
    const std::string m_path = "C:\\LOCKED.DAT";
};

TEST_F(ReadOnlyTest, CannotBeOpenedForWritingNorRemoved) {
    EXPECT_FALSE(fs().OpenForWrite(m_path));
    EXPECT_FALSE(fs().RemoveFile(m_path));
    EXPECT_EQ(ReadHostFile(m_host), "original");
    EXPECT_EQ(ReadThrough(m_path), "original");

    plat::FileStatus status;
    ASSERT_TRUE(fs().GetStatus(m_path, &status));
    EXPECT_EQ(status.attributes, plat::kAttrReadOnly);
}

TEST_F(ReadOnlyTest, ClearingTheAttributeGivesTheOwnerWritePermission) {
    plat::FileStatus status;
    ASSERT_TRUE(fs().GetStatus(m_path, &status));
    status.attributes &= ~plat::kAttrReadOnly;
    ASSERT_TRUE(fs().SetStatus(m_path, status));
    EXPECT_EQ(ModeOf(m_host), 0644);

    ASSERT_TRUE(fs().GetStatus(m_path, &status));
    EXPECT_EQ(status.attributes, plat::kAttrArchive);
    WriteThrough(m_path, "changed");
    EXPECT_EQ(ReadHostFile(m_host), "changed");
    EXPECT_TRUE(fs().RemoveFile(m_path));
    EXPECT_FALSE(testsupport::HostFileExists(m_host));
}

TEST_F(PosixFsTest, SettingReadOnlyClearsEveryWriteBit) {
    const std::string host = DriveC() + "/open.dat";
    ASSERT_TRUE(WriteHostFile(host, "x"));
    ASSERT_EQ(::chmod(host.c_str(), 0666), 0);
    plat::FileStatus status;
    status.attributes = plat::kAttrReadOnly | plat::kAttrArchive;
    ASSERT_TRUE(fs().SetStatus("C:\\open.dat", status));
    EXPECT_EQ(ModeOf(host), 0444);
    EXPECT_FALSE(fs().OpenForWrite("C:\\open.dat"));
}

TEST_F(PosixFsTest, AnyWriteBitMeansWritable) {
    const std::string host = DriveC() + "/group.dat";
    ASSERT_TRUE(WriteHostFile(host, "x"));
    ASSERT_EQ(::chmod(host.c_str(), 0464), 0);
    plat::FileStatus status;
    ASSERT_TRUE(fs().GetStatus("C:\\group.dat", &status));
    EXPECT_EQ(status.attributes & plat::kAttrReadOnly, 0u);
}

TEST_F(PosixFsTest, FoldersReportTheDirectoryAttribute) {
    ASSERT_TRUE(fs().CreateFolder("C:\\Folder"));
    plat::FileStatus status;
    ASSERT_TRUE(fs().GetStatus("C:\\Folder", &status));
    EXPECT_EQ(status.attributes, plat::kAttrDirectory);
}

}  // namespace
