#include <gtest/gtest.h>

#include "platform/posix/fs/file_status.h"
#include "tests/support/posix_fs_fixture.h"
#include "tests/support/fixtures/host_files.h"

namespace {

constexpr plat::FileTime kUnixEpoch = 116444736000000000ULL;

TEST(FileTimeConversion, RoundTrips) {
    const struct {
        std::int64_t seconds;
        std::int64_t nanoseconds;
        plat::FileTime ticks;
    } cases[] = {
        {0, 0, kUnixEpoch},
        {1, 100, kUnixEpoch + 10000001},
        {1700000000, 123456700, kUnixEpoch + 17000000001234567ULL},
        {-315619200, 0, kUnixEpoch - 3156192000000000ULL},  // 1960-01-01
        {-11644473600, 0, 0},                                // 1601-01-01
    };
    for (const auto& c : cases) {
        EXPECT_EQ(posixplat::ToFileTime(c.seconds, c.nanoseconds), c.ticks) << c.seconds;
        const timespec back = posixplat::FromFileTime(c.ticks);
        EXPECT_EQ(back.tv_sec, c.seconds);
        EXPECT_EQ(back.tv_nsec, c.nanoseconds);
    }
    EXPECT_EQ(posixplat::ToFileTime(-11644473601, 0), 0u);  // before 1601 clamps
}

TEST_F(PosixFsTest, TimesRoundTripThroughSetStatus) {
    ASSERT_TRUE(testsupport::WriteHostFile(DriveC() + "/dated.txt", "x"));
    plat::FileStatus wanted;
    wanted.creationTime = kUnixEpoch + 1;  // cannot be set on Linux; must not fail the call
    wanted.lastWriteTime = 132000000001234567ULL;   // 2019, to the 100 ns
    wanted.lastAccessTime = 133000000007654321ULL;  // 2022
    ASSERT_TRUE(fs().SetStatus("C:\\DATED.TXT", wanted));

    plat::FileStatus byName;
    ASSERT_TRUE(fs().GetStatus("C:\\dated.txt", &byName));
    EXPECT_EQ(byName.lastWriteTime, wanted.lastWriteTime);
    EXPECT_EQ(byName.lastAccessTime, wanted.lastAccessTime);

    auto file = fs().OpenForRead("C:\\dated.txt");
    ASSERT_TRUE(file);
    plat::FileStatus open;
    ASSERT_TRUE(file->GetStatus(&open));
    EXPECT_EQ(open.lastWriteTime, wanted.lastWriteTime);
    EXPECT_EQ(open.size, 1);
}

TEST_F(PosixFsTest, ZeroTimesLeaveTheStampsAlone) {
    ASSERT_TRUE(testsupport::WriteHostFile(DriveC() + "/dated.txt", "x"));
    plat::FileStatus first;
    first.lastWriteTime = 132000000000000000ULL;
    first.lastAccessTime = 132100000000000000ULL;
    ASSERT_TRUE(fs().SetStatus("C:\\dated.txt", first));
    ASSERT_TRUE(fs().SetStatus("C:\\dated.txt", plat::FileStatus{}));
    plat::FileStatus after;
    ASSERT_TRUE(fs().GetStatus("C:\\dated.txt", &after));
    EXPECT_EQ(after.lastWriteTime, first.lastWriteTime);
    EXPECT_EQ(after.lastAccessTime, first.lastAccessTime);
}

TEST_F(PosixFsTest, SetStatusOfAMissingFileFails) {
    plat::FileStatus status;
    status.lastWriteTime = 132000000000000000ULL;
    EXPECT_FALSE(fs().SetStatus("C:\\missing.txt", status));
    EXPECT_FALSE(testsupport::HostFileExists(DriveC() + "/missing.txt"));
}

}  // namespace
