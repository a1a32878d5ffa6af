// Drives as the tests' system has them: C: a fixed disk, Q: a CD-ROM drive, nothing else
// (the runner makes the prefix so). Free space is the space of the folder behind the
// drive, as the system reports it.
#include "tests/win32/win32_test_support.h"

namespace {

class Drives : public win32test::Win32PlatformTest {};

TEST_F(Drives, RootsComeInFourByteStepsWithTheirTypes) {
    EXPECT_EQ(fs().LogicalDriveStrings(), std::string("C:\\\0Q:\\\0", 8));
    EXPECT_EQ(fs().GetDriveType("C:\\"), plat::DriveType::Fixed);
    EXPECT_EQ(fs().GetDriveType("Q:\\"), plat::DriveType::CdRom);
    EXPECT_EQ(fs().GetDriveType("R:\\"), plat::DriveType::NoRootDir);
}

TEST_F(Drives, FreeSpaceIsReadForALetterWithOrWithoutItsBackslash) {
    std::uint64_t bare = 0, rooted = 0;
    ASSERT_TRUE(fs().GetFreeBytes("C:", &bare));
    ASSERT_TRUE(fs().GetFreeBytes("C:\\", &rooted));
    EXPECT_GT(bare, 0u);
    // Other programs write meanwhile; the two reads see the same disk.
    const std::uint64_t difference = bare > rooted ? bare - rooted : rooted - bare;
    EXPECT_LT(difference, 64u * 1024 * 1024);
    std::uint64_t none = 7;
    EXPECT_FALSE(fs().GetFreeBytes("R:", &none));
    EXPECT_EQ(none, 7u);
}

}  // namespace
