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

// Lines as the kernel writes /proc/self/mountinfo: optional fields or none before the
// "-", octal escapes in the root, the mount point and the source.
TEST(OpticalMounts, ReadsTheDiscsOfMountInfoLines) {
    const struct {
        const char* line;
        const char* source;  // nullptr: the line gives no disc
        const char* mountPoint;
        const char* type;
    } cases[] = {
        {"29 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw,errors=remount-ro", nullptr, nullptr, nullptr},
        {"612 29 11:0 / /media/player/MIREL_DISC1 ro,nosuid,nodev,relatime shared:330 - iso9660 /dev/sr0 "
         "ro,nojoliet,check=s,map=n,blocksize=2048,uid=1000,gid=1000,dmode=500,fmode=400,iocharset=utf8",
         "/dev/sr0", "/media/player/MIREL_DISC1", "iso9660"},
        {"613 29 11:1 / /media/player/My\\040Disc ro,nosuid,nodev,relatime shared:331 master:7 - udf /dev/sr1 "
         "ro,uid=1000,gid=1000,iocharset=utf8",
         "/dev/sr1", "/media/player/My Disc", "udf"},
        {"44 26 0:39 / /home/p/disc rw,nosuid,nodev,relatime - fuse.fuseiso fuseiso rw,user_id=1000,group_id=1000",
         "fuseiso", "/home/p/disc", "fuse.fuseiso"},
        {"45 26 0:40 / /home/p/tarball rw,nosuid,nodev,relatime shared:5 - fuse.archivemount archivemount "
         "rw,user_id=1000,group_id=1000",
         nullptr, nullptr, nullptr},
        {"90 29 7:0 / /mnt/back\\134slash\\011tab ro,relatime shared:40 - iso9660 /home/p/My\\040Game.iso ro",
         "/home/p/My Game.iso", "/mnt/back\\slash\ttab", "iso9660"},
        // A folder of a disc bound elsewhere is no disc; the whole disc bound elsewhere is.
        {"700 29 11:0 /DATA /mnt/data ro,nosuid,nodev,relatime shared:330 - iso9660 /dev/sr0 ro", nullptr, nullptr,
         nullptr},
        {"701 29 11:0 /My\\040Folder /mnt/folder ro shared:330 - udf /dev/sr1 ro", nullptr, nullptr, nullptr},
        {"702 29 11:0 / /mnt/whole ro,nosuid,nodev,relatime shared:330 - iso9660 /dev/sr0 ro", "/dev/sr0",
         "/mnt/whole", "iso9660"},
        // Cut short: no super options (the source may be cut), no source, no type.
        {"703 29 11:0 / /media/cut ro,relatime shared:1 - iso9660 /dev/sr", nullptr, nullptr, nullptr},
        {"704 29 11:0 / /media/cut ro,relatime - iso9660", nullptr, nullptr, nullptr},
        {"705 29 11:0 / /media/cut ro,relatime -", nullptr, nullptr, nullptr},
        {"706 29 11:0 / /media/cut", nullptr, nullptr, nullptr},
        // The other table's form, /proc/self/mounts, has no separator.
        {"/dev/sr0 /media/cdrom0 iso9660 ro,nosuid 0 0", nullptr, nullptr, nullptr},
        {"garbage", nullptr, nullptr, nullptr},
        {"", nullptr, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        const std::vector<posixplat::OpticalMount> mounts = posixplat::ParseOpticalMountEntries(c.line);
        if (!c.source) {
            EXPECT_TRUE(mounts.empty()) << c.line;
            continue;
        }
        ASSERT_EQ(mounts.size(), 1u) << c.line;
        EXPECT_EQ(mounts[0].source, c.source) << c.line;
        EXPECT_EQ(mounts[0].mountPoint, c.mountPoint) << c.line;
        EXPECT_EQ(mounts[0].type, c.type) << c.line;
    }
}

TEST(OpticalMounts, KeepTheTableOrderAcrossLines) {
    const std::string table =
        "29 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw\n"
        "612 29 11:0 / /media/cdrom0 ro shared:330 - iso9660 /dev/sr0 ro\n"
        "700 29 11:0 /DATA /mnt/data ro shared:330 - iso9660 /dev/sr0 ro\n"
        "44 26 0:39 / /home/p/disc rw - fuse.fuseiso fuseiso rw\n"
        "613 29 11:1 / /media/cdrom1 ro shared:331 - udf /dev/sr1";  // the last line cut short
    const std::vector<std::string> expected{"/media/cdrom0", "/home/p/disc"};
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
    testsupport::WriteHostFile(mounts, "612 29 11:0 / /media/game\\040disc ro shared:330 - iso9660 /dev/sr0 ro\n");
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
