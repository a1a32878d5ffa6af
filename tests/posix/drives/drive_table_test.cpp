#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/posix/drives/drives_file.h"
#include "platform/posix/drives/optical_mounts.h"
#include "platform/posix/fs/posix_file_system.h"
#include "tests/support/posix_fs_fixture.h"
#include "tests/support/fixtures/host_files.h"
#include "tests/support/fixtures/temp_system_root.h"

namespace {

using plat::DriveType;
using posixplat::DriveLineKind;
using posixplat::DriveMapping;

struct LineCase {
    const char* line;
    DriveLineKind kind;
    char letter;
    DriveType type;
    const char* folder;
};

TEST(DriveTable, ParsesLines) {
    const LineCase cases[] = {
        {"C: fixed /srv/c", DriveLineKind::Drive, 'C', DriveType::Fixed, "/srv/c"},
        {"q: CDROM /media/disc/", DriveLineKind::Drive, 'Q', DriveType::CdRom, "/media/disc"},
        {"  E:\tremovable\t/mnt/usb stick  ", DriveLineKind::Drive, 'E', DriveType::Removable, "/mnt/usb stick"},
        {"F: remote /net/share # the office share", DriveLineKind::Drive, 'F', DriveType::Remote, "/net/share"},
        {"R: ramdisk /dev/shm\r", DriveLineKind::Drive, 'R', DriveType::RamDisk, "/dev/shm"},
        {"Z: fixed /", DriveLineKind::Drive, 'Z', DriveType::Fixed, "/"},
        {"G: fixed /data/#1", DriveLineKind::Drive, 'G', DriveType::Fixed, "/data/#1"},
        {"", DriveLineKind::Blank, 0, DriveType::Unknown, ""},
        {"   \t", DriveLineKind::Blank, 0, DriveType::Unknown, ""},
        {"# C: fixed /x", DriveLineKind::Blank, 0, DriveType::Unknown, ""},
        {"   # indented comment", DriveLineKind::Blank, 0, DriveType::Unknown, ""},
        {"C: fixed", DriveLineKind::Malformed, 0, DriveType::Unknown, ""},
        {"C: fixed relative/path", DriveLineKind::Malformed, 0, DriveType::Unknown, ""},
        {"C: floppy /mnt/a", DriveLineKind::Malformed, 0, DriveType::Unknown, ""},
        {"C fixed /srv/c", DriveLineKind::Malformed, 0, DriveType::Unknown, ""},
        {"CC: fixed /srv/c", DriveLineKind::Malformed, 0, DriveType::Unknown, ""},
        {"1: fixed /srv/c", DriveLineKind::Malformed, 0, DriveType::Unknown, ""},
        {"C:fixed /srv/c", DriveLineKind::Malformed, 0, DriveType::Unknown, ""},
        {"C: fixed # /srv/c", DriveLineKind::Malformed, 0, DriveType::Unknown, ""},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.line);
        DriveMapping drive{};
        ASSERT_EQ(posixplat::ParseDriveLine(c.line, &drive), c.kind);
        if (c.kind != DriveLineKind::Drive) continue;
        EXPECT_EQ(drive.letter, c.letter);
        EXPECT_EQ(drive.type, c.type);
        EXPECT_EQ(drive.hostFolder, c.folder);
    }
}

TEST(DriveTable, SkipsBadLinesAndKeepsTheFirstMappingOfALetter) {
    const auto drives = posixplat::ParseDriveTable(
        "# drives\n"
        "C: fixed /one\n"
        "this is not a drive\n"
        "D: cdrom /disc\n"
        "c: fixed /two\n"
        "E: bogus /three\n");
    ASSERT_EQ(drives.size(), 2u);
    EXPECT_EQ(drives[0].letter, 'C');
    EXPECT_EQ(drives[0].hostFolder, "/one");
    EXPECT_EQ(drives[1].letter, 'D');
    EXPECT_EQ(drives[1].type, DriveType::CdRom);
}

TEST(DriveTable, MissingFileIsCreatedWithDriveC) {
    testsupport::TempSystemRoot root(testsupport::TempSystemRootOptions::WithoutDrivesFile());
    const std::string system = root.root() + "/fresh";  // not there yet either
    const auto drives = posixplat::LoadDriveTable(system);
    ASSERT_EQ(drives.size(), 1u);
    EXPECT_EQ(drives[0].letter, 'C');
    EXPECT_EQ(drives[0].type, DriveType::Fixed);
    EXPECT_EQ(drives[0].hostFolder, system + "/drive_c");
    EXPECT_TRUE(testsupport::HostFolderExists(system + "/drive_c"));

    // The written file reads back to the same table.
    const auto reread = posixplat::ParseDriveTable(testsupport::ReadHostFile(system + "/drives"));
    ASSERT_EQ(reread.size(), 1u);
    EXPECT_EQ(reread[0].hostFolder, system + "/drive_c");
}

TEST(DriveTable, ExistingFileIsNotRewritten) {
    testsupport::TempSystemRoot root;
    const std::string before = testsupport::ReadHostFile(root.drivesFile());
    posixplat::LoadDriveTable(root.root());
    EXPECT_EQ(testsupport::ReadHostFile(root.drivesFile()), before);
}

TEST(OpticalMounts, FindsIso9660AndUdfAndDecodesEscapes) {
    const std::string table =
        "/dev/vda / ext4 rw,relatime 0 0\n"
        "/dev/sr0 /media/cdrom0 iso9660 ro,nosuid 0 0\n"
        "proc /proc proc rw 0 0\n"
        "/dev/sr1 /media/My\\040Disc udf ro 0 0\n"
        "/dev/loop0 /mnt/back\\134slash iso9660 ro 0 0\n"
        "garbage\n"
        "/dev/sdb1 /media/usb vfat rw 0 0\n";
    const std::vector<std::string> expected{"/media/cdrom0", "/media/My Disc", "/mnt/back\\slash"};
    EXPECT_EQ(posixplat::ParseOpticalMounts(table), expected);
}

TEST(OpticalMounts, TakeTheFirstFreeLettersFromD) {
    std::vector<DriveMapping> drives{{'C', DriveType::Fixed, "/c"},
                                     {'E', DriveType::Fixed, "/e"},
                                     {'Q', DriveType::CdRom, "/media/known"}};
    posixplat::AddOpticalDrives(drives, {"/media/one", "/media/known/", "/media/two", "/media/three"});
    ASSERT_EQ(drives.size(), 6u);
    EXPECT_EQ(drives[3].letter, 'D');
    EXPECT_EQ(drives[3].hostFolder, "/media/one");
    EXPECT_EQ(drives[3].type, DriveType::CdRom);
    EXPECT_EQ(drives[4].letter, 'F');
    EXPECT_EQ(drives[4].hostFolder, "/media/two");
    EXPECT_EQ(drives[5].letter, 'G');
}

TEST(OpticalMounts, StopAtZ) {
    std::vector<DriveMapping> drives;
    for (char letter = 'A'; letter <= 'Y'; ++letter) drives.push_back({letter, DriveType::Fixed, "/x"});
    posixplat::AddOpticalDrives(drives, {"/media/one", "/media/two"});
    ASSERT_EQ(drives.size(), 26u);
    EXPECT_EQ(drives.back().letter, 'Z');
    EXPECT_EQ(drives.back().hostFolder, "/media/one");
}

TEST(PosixFileSystemDrives, AddsMountedDiscsWithoutWritingThemDown) {
    testsupport::TempSystemRoot root(testsupport::TempSystemRootOptions::WithCdrom());
    const std::string mounts = root.root() + "/mounts";
    testsupport::WriteHostFile(mounts, "/dev/sr0 /media/game\\040disc iso9660 ro 0 0\n");
    const std::string before = testsupport::ReadHostFile(root.drivesFile());

    posixplat::PosixFileSystem fs(root.root(), mounts);
    EXPECT_EQ(fs.LogicalDriveStrings(), std::string("C:\\\0D:\\\0Q:\\\0", 12));
    EXPECT_EQ(fs.GetDriveType("D:\\"), DriveType::CdRom);
    std::string host;
    ASSERT_TRUE(fs.ToHostPath("d:\\SETUP\\install.ini", &host));
    EXPECT_EQ(host, "/media/game disc/SETUP/install.ini");
    EXPECT_EQ(testsupport::ReadHostFile(root.drivesFile()), before);
}

TEST_F(PosixFsTest, DriveTypesByRoot) {
    const struct {
        const char* root;
        DriveType type;
    } cases[] = {
        {"C:\\", DriveType::Fixed}, {"C:", DriveType::Fixed},         {"c:\\", DriveType::Fixed},
        {"Q:\\", DriveType::CdRom}, {"D:\\", DriveType::NoRootDir},   {"C:\\Windows", DriveType::NoRootDir},
        {"", DriveType::NoRootDir}, {"\\\\server\\share\\", DriveType::NoRootDir},
    };
    for (const auto& c : cases) EXPECT_EQ(fs().GetDriveType(c.root), c.type) << c.root;
}

TEST_F(PosixFsTest, LogicalDriveStringsAreSortedByLetter) {
    systemRoot().addDrive('E', "removable");
    systemRoot().addDrive('A', "remote");
    Reopen();
    EXPECT_EQ(fs().LogicalDriveStrings(), std::string("A:\\\0C:\\\0E:\\\0Q:\\\0", 16));
}

}  // namespace
