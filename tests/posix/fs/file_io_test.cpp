#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "tests/support/posix_fs_fixture.h"
#include "tests/support/fixtures/host_files.h"
#include "tests/support/fixtures/sample_disc.h"

namespace {

using testsupport::ReadHostFile;
using testsupport::WriteHostFile;

constexpr std::size_t kBlock = 1 << 20;

TEST_F(PosixFsTest, ReadsFullBlocksUntilTheEnd) {
    const std::string contents = testsupport::SampleFileContent("big", 2 * kBlock + 123);
    {
        auto out = fs().OpenForWrite("C:\\big.bin");
        ASSERT_TRUE(out);
        // Uneven pieces, to cross block boundaries.
        std::size_t done = 0;
        for (std::size_t piece : {std::size_t{1}, kBlock - 1, std::size_t{77}, contents.size()}) {
            piece = std::min(piece, contents.size() - done);
            ASSERT_TRUE(out->Write(contents.data() + done, piece));
            done += piece;
        }
        plat::FileStatus status;
        ASSERT_TRUE(out->GetStatus(&status));
        EXPECT_EQ(status.size, static_cast<std::int64_t>(contents.size()));
    }
    auto in = fs().OpenForRead("C:\\BIG.BIN");
    ASSERT_TRUE(in);
    std::string buffer(kBlock, '\0');
    std::string back;
    std::vector<std::size_t> counts;
    std::size_t got = 0;
    do {
        ASSERT_TRUE(in->Read(buffer.data(), buffer.size(), &got));
        counts.push_back(got);
        back.append(buffer, 0, got);
    } while (got == buffer.size());
    EXPECT_EQ(counts, (std::vector<std::size_t>{kBlock, kBlock, 123}));
    EXPECT_TRUE(back == contents);
    // At the end a read gives nothing and no error.
    ASSERT_TRUE(in->Read(buffer.data(), buffer.size(), &got));
    EXPECT_EQ(got, 0u);
}

TEST_F(PosixFsTest, OpenForWriteTruncatesAndCreatesNoFolders) {
    ASSERT_TRUE(WriteHostFile(DriveC() + "/old.txt", "a much longer old text"));
    WriteThrough("C:\\old.txt", "new");
    EXPECT_EQ(ReadHostFile(DriveC() + "/old.txt"), "new");

    EXPECT_FALSE(fs().OpenForWrite("C:\\Missing\\new.txt"));
    EXPECT_FALSE(testsupport::HostFolderExists(DriveC() + "/Missing"));
    EXPECT_FALSE(fs().OpenForRead("C:\\nothing.txt"));
}

TEST_F(PosixFsTest, WritingThroughALinkThatLeadsNowhereIsRefused) {
    const std::string target = systemRoot().root() + "/outside-target";
    ASSERT_EQ(::symlink(target.c_str(), (DriveC() + "/dangling").c_str()), 0);
    EXPECT_FALSE(fs().OpenForWrite("C:\\dangling"));
    EXPECT_FALSE(testsupport::HostFileExists(target));
    // A link to an existing writable file is written through, as on any system.
    ASSERT_TRUE(WriteHostFile(DriveC() + "/real.txt", "old"));
    ASSERT_EQ(::symlink("real.txt", (DriveC() + "/alias.txt").c_str()), 0);
    WriteThrough("C:\\ALIAS.TXT", "new");
    EXPECT_EQ(ReadHostFile(DriveC() + "/real.txt"), "new");
}

TEST_F(PosixFsTest, OnlyRegularFilesOpen) {
    ASSERT_TRUE(fs().CreateFolder("C:\\Folder"));
    EXPECT_FALSE(fs().OpenForRead("C:\\Folder"));
    EXPECT_FALSE(fs().OpenForWrite("C:\\Folder"));
    // A named pipe with no writer would block a plain open for ever.
    const std::string fifo = DriveC() + "/pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_FALSE(fs().OpenForRead("C:\\pipe"));
    EXPECT_FALSE(fs().OpenForWrite("C:\\pipe"));
}

TEST_F(PosixFsTest, ExistsAndStatusOfFilesAndFolders) {
    ASSERT_TRUE(WriteHostFile(DriveC() + "/Dir/file.txt", "12345"));
    EXPECT_TRUE(fs().Exists("C:\\Dir"));
    EXPECT_TRUE(fs().Exists("C:\\Dir\\"));
    EXPECT_TRUE(fs().Exists("C:\\Dir\\file.txt"));
    EXPECT_FALSE(fs().Exists("C:\\Dir\\other.txt"));
    EXPECT_FALSE(fs().Exists("C:\\Dir\\file.txt\\below"));
    plat::FileStatus status;
    ASSERT_TRUE(fs().GetStatus("C:\\Dir\\file.txt", &status));
    EXPECT_EQ(status.size, 5);
    EXPECT_EQ(status.attributes, plat::kAttrArchive);
    EXPECT_FALSE(fs().GetStatus("C:\\Dir\\other.txt", &status));
}

TEST_F(PosixFsTest, CreateFolderMakesOneLevel) {
    EXPECT_FALSE(fs().CreateFolder("C:\\A\\B"));  // parent missing
    EXPECT_FALSE(testsupport::HostFolderExists(DriveC() + "/A"));
    EXPECT_TRUE(fs().CreateFolder("C:\\A"));
    EXPECT_FALSE(fs().CreateFolder("C:\\A"));  // exists
    EXPECT_TRUE(fs().CreateFolder("C:\\A\\B\\"));
    EXPECT_TRUE(testsupport::HostFolderExists(DriveC() + "/A/B"));
    ASSERT_TRUE(WriteHostFile(DriveC() + "/file", "x"));
    EXPECT_FALSE(fs().CreateFolder("C:\\file"));
}

TEST_F(PosixFsTest, RemoveFolderOnlyRemovesEmptyFolders) {
    ASSERT_TRUE(WriteHostFile(DriveC() + "/Full/file.txt", "x"));
    ASSERT_TRUE(fs().CreateFolder("C:\\Empty"));
    EXPECT_FALSE(fs().RemoveFolder("C:\\Full"));
    EXPECT_FALSE(fs().RemoveFolder("C:\\Full\\file.txt"));
    EXPECT_TRUE(testsupport::HostFileExists(DriveC() + "/Full/file.txt"));
    EXPECT_TRUE(fs().RemoveFolder("C:\\Empty\\\\"));
    EXPECT_FALSE(testsupport::HostFolderExists(DriveC() + "/Empty"));
    EXPECT_FALSE(fs().RemoveFolder("C:\\Empty"));
}

TEST_F(PosixFsTest, RemoveFileRefusesFoldersAndMissingFiles) {
    ASSERT_TRUE(fs().CreateFolder("C:\\Folder"));
    EXPECT_FALSE(fs().RemoveFile("C:\\Folder"));
    EXPECT_TRUE(testsupport::HostFolderExists(DriveC() + "/Folder"));
    EXPECT_FALSE(fs().RemoveFile("C:\\missing.txt"));
    // A link is removed, not what it points to.
    ASSERT_TRUE(WriteHostFile(DriveC() + "/target.txt", "t"));
    ASSERT_EQ(::symlink((DriveC() + "/target.txt").c_str(), (DriveC() + "/link.txt").c_str()), 0);
    EXPECT_TRUE(fs().RemoveFile("C:\\link.txt"));
    EXPECT_EQ(ReadHostFile(DriveC() + "/target.txt"), "t");
}

}  // namespace
