#include <gtest/gtest.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>

#include "tests/support/posix_fs_fixture.h"

namespace {

std::uint64_t HostFreeBytes(const std::string& folder) {
    struct statvfs info;
    EXPECT_EQ(::statvfs(folder.c_str(), &info), 0) << folder;
    return static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
}

TEST_F(PosixFsTest, FreeBytesAreTheHostSpaceAvailableToTheCaller) {
    ASSERT_TRUE(fs().CreateFolder("C:\\Sub"));
    for (const char* path : {"C:", "C:\\", "c:\\", "Q:\\", "C:\\Sub", "C:\\SUB\\"}) {
        const std::string folder = (path[0] == 'Q') ? DriveQ() : DriveC();
        // Other processes write to the same disk: the answer must lie between two
        // readings taken around it.
        const std::uint64_t before = HostFreeBytes(folder);
        std::uint64_t reported = 0;
        ASSERT_TRUE(fs().GetFreeBytes(path, &reported)) << path;
        const std::uint64_t after = HostFreeBytes(folder);
        EXPECT_GE(reported, std::min(before, after)) << path;
        EXPECT_LE(reported, std::max(before, after)) << path;
        EXPECT_GT(reported, 0u) << path;
    }
}

TEST_F(PosixFsTest, FreeBytesOfUnknownDrivesAndMissingFoldersFail) {
    std::uint64_t reported = 42;
    for (const char* path : {"D:", "D:\\", "", "C", "\\\\server\\share\\", "C:\\missing"}) {
        EXPECT_FALSE(fs().GetFreeBytes(path, &reported)) << path;
    }
    EXPECT_EQ(reported, 42u);
}

TEST_F(PosixFsTest, FreeBytesOfADriveWhoseFolderIsGoneFail) {
    systemRoot().addDrive('R', "removable");
    Reopen();
    ASSERT_EQ(::rmdir(systemRoot().driveFolder('R').c_str()), 0);
    std::uint64_t reported = 0;
    EXPECT_FALSE(fs().GetFreeBytes("R:\\", &reported));
}

}  // namespace
