// Disc images read as drives: real images mastered by genisoimage, then damaged as a
// bad copy or a hostile file would be. A damaged image is bad input: a clear problem
// naming the image and the entry, or a failed read, never a crash, a hang or a write.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/posix/image/disc_image.h"
#include "platform/posix/image/image_drive_file_system.h"
#include "platform/posix/posix_system_errors.h"
#include "tests/support/posix_fs_fixture.h"
#include "tests/support/fixtures/host_files.h"

namespace {

using posixplat::DiscImage;
using posixplat::ImageDriveFileSystem;

// Record offsets of ISO 9660 (ECMA-119 9.1): the extent's sector, little then big endian.
constexpr std::size_t kExtentLe = 2;
constexpr std::size_t kExtentBe = 6;
constexpr std::size_t kNameLength = 32;

class DiscImageTest : public PosixFsTest {
protected:
    std::string Folder() { return systemRoot().root() + "/master"; }
    std::string ImagePath() { return systemRoot().root() + "/disc.iso"; }

    // The disc the cases start from: Rock Ridge names, two folders deep.
    void MakeSource() {
        ASSERT_TRUE(testsupport::WriteHostFile(Folder() + "/install.ini", "[setup]\n"));
        ASSERT_TRUE(testsupport::WriteHostFile(Folder() + "/DATA/alpha.txt", "alpha bytes"));
        ASSERT_TRUE(testsupport::WriteHostFile(Folder() + "/DATA/SUB/big.bin", std::string(5000, 'b')));
        ASSERT_TRUE(testsupport::WriteHostFile(Folder() + "/DATA/Readme.txt", "mixed"));
        ASSERT_TRUE(testsupport::WriteHostFile(Folder() + "/DATA/README.TXT", "upper"));
    }

    void Master(const std::string& options = "-R") {
        const std::string command = "genisoimage -quiet -input-charset utf-8 " + options + " -o '" + ImagePath() +
                                    "' '" + Folder() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        m_bytes = testsupport::ReadHostFile(ImagePath());
        ASSERT_FALSE(m_bytes.empty());
    }

    // Where the record of the name `isoName` (as the primary volume spells it) starts.
    std::size_t RecordOf(const std::string& isoName) {
        const std::string key = std::string(1, static_cast<char>(isoName.size())) + isoName;
        const std::size_t at = m_bytes.find(key);
        EXPECT_NE(at, std::string::npos) << isoName;
        return at == std::string::npos ? 0 : at - kNameLength;
    }

    std::uint32_t ExtentOf(std::size_t record) {
        std::uint32_t sector;
        std::memcpy(&sector, m_bytes.data() + record + kExtentLe, 4);
        return sector;
    }

    void SetExtent(std::size_t record, std::uint32_t sector) {
        for (int i = 0; i < 4; ++i) {
            m_bytes[record + kExtentLe + i] = static_cast<char>(sector >> (8 * i));
            m_bytes[record + kExtentBe + i] = static_cast<char>(sector >> (8 * (3 - i)));
        }
    }

    // Replaces the only occurrence of `from` with `to` (of the same length).
    void ReplaceOnly(const std::string& from, const std::string& to) {
        const std::size_t at = m_bytes.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        ASSERT_EQ(m_bytes.find(from, at + 1), std::string::npos) << from;
        m_bytes.replace(at, from.size(), to);
    }

    void Save() { ASSERT_TRUE(testsupport::WriteHostFile(ImagePath(), m_bytes)); }

    // Opens the image as drive R: in front of the fixture's file system.
    bool OpenDrive() {
        m_problems.clear();
        m_error.clear();
        std::unique_ptr<DiscImage> image = DiscImage::Open(ImagePath(), &m_error, &m_problems);
        const bool opened = image != nullptr;
        m_drives = std::make_unique<ImageDriveFileSystem>(fs());
        m_drives->AddDrive('R', std::move(image));
        return opened;
    }

    bool HasProblem(const std::string& entry, const std::string& what) {
        for (const std::string& problem : m_problems) {
            if (problem.rfind(ImagePath() + ": " + entry + ": ", 0) == 0 && problem.find(what) != std::string::npos) {
                return true;
            }
        }
        return false;
    }

    std::string Problems() {
        std::string all = m_error;
        for (const std::string& problem : m_problems) all += "\n" + problem;
        return all;
    }

    // Reads a whole file of R:; errno of the failure, 0 on success.
    int ReadAll(const std::string& path, std::string* contents) {
        std::unique_ptr<plat::File> file = m_drives->OpenForRead(path);
        if (!file) return errno;
        char buffer[4096];
        for (;;) {
            std::size_t got = 0;
            if (!file->Read(buffer, sizeof buffer, &got)) return errno;
            if (got == 0) return 0;
            contents->append(buffer, got);
        }
    }

    std::vector<std::string> List(const std::string& folder) {
        std::vector<std::string> names;
        auto entries = m_drives->Enumerate(folder + "\\*.*");
        if (!entries) return {"<cannot be listed>"};
        plat::FolderEntry entry;
        while (entries->Next(&entry)) names.push_back(entry.name + (entry.isFolder ? "\\" : ""));
        return names;
    }

    std::string m_bytes;
    std::string m_error;
    std::vector<std::string> m_problems;
    std::unique_ptr<ImageDriveFileSystem> m_drives;
};

TEST_F(DiscImageTest, ReadsLikeACdDrive) {
    MakeSource();
    Master();
    ASSERT_TRUE(OpenDrive()) << Problems();
    EXPECT_TRUE(m_problems.empty()) << Problems();
    EXPECT_EQ(m_drives->GetDriveType("R:\\"), plat::DriveType::CdRom);
    std::uint64_t free = 1;
    EXPECT_TRUE(m_drives->GetFreeBytes("R:\\", &free));
    EXPECT_EQ(free, 0u);
    std::vector<std::string> listed = List("R:\\DATA");
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<std::string>{"README.TXT", "Readme.txt", "SUB\\", "alpha.txt"}));

    // Names as the sandbox matches them: the exact one first, else the first in byte
    // order that matches without case.
    struct Case {
        const char* path;
        const char* contents;
    } cases[] = {
        {"R:\\DATA\\Readme.txt", "mixed"},
        {"R:\\DATA\\README.TXT", "upper"},
        {"R:\\data\\readme.TXT", "upper"},
        {"R:\\Data\\Alpha.TXT", "alpha bytes"},
        {"r:\\DATA\\sub\\BIG.bin", nullptr},
    };
    for (const Case& c : cases) {
        std::string contents;
        EXPECT_EQ(ReadAll(c.path, &contents), 0) << c.path;
        EXPECT_EQ(contents, c.contents ? std::string(c.contents) : std::string(5000, 'b')) << c.path;
    }

    // Every change refused, as on a CD.
    plat::FileStatus status;
    ASSERT_TRUE(m_drives->GetStatus("R:\\DATA\\alpha.txt", &status));
    EXPECT_EQ(status.size, 11);
    EXPECT_NE(status.attributes & plat::kAttrReadOnly, 0u);
    errno = 0;
    EXPECT_FALSE(m_drives->OpenForWrite("R:\\DATA\\alpha.txt"));
    EXPECT_EQ(errno, EROFS);
    EXPECT_FALSE(m_drives->OpenForWrite("R:\\new.txt"));
    EXPECT_FALSE(m_drives->CreateFolder("R:\\NEW"));
    EXPECT_FALSE(m_drives->RemoveFile("R:\\DATA\\alpha.txt"));
    EXPECT_FALSE(m_drives->RemoveFolder("R:\\DATA\\SUB"));
    EXPECT_FALSE(m_drives->SetStatus("R:\\DATA\\alpha.txt", status));
    std::unique_ptr<plat::File> open = m_drives->OpenForRead("R:\\DATA\\alpha.txt");
    ASSERT_TRUE(open);
    EXPECT_FALSE(open->Write("x", 1));
    EXPECT_FALSE(m_drives->OpenForRead("R:\\DATA"));
    EXPECT_FALSE(m_drives->Exists("R:\\DATA\\..\\install.ini"));
    // The other drives are the file system behind.
    EXPECT_TRUE(m_drives->CreateFolder("C:\\made"));
    EXPECT_TRUE(testsupport::HostFolderExists(DriveC() + "/made"));
}

TEST_F(DiscImageTest, TruncatedImagesAreRefusedOrFailTheirReads) {
    MakeSource();
    Master();
    const std::string whole = m_bytes;
    const std::size_t sizes[] = {0, 2048, 16 * 2048, 17 * 2048 + 100, whole.size() / 2, whole.size() - 4000,
                                 whole.size() - 1};
    for (std::size_t size : sizes) {
        SCOPED_TRACE(size);
        m_bytes = whole.substr(0, size);
        Save();
        if (!OpenDrive()) {
            EXPECT_EQ(m_error.rfind(ImagePath() + ": ", 0), 0u) << m_error;
            continue;
        }
        // Whatever still opens is either delivered whole or fails as a read error.
        for (const char* path : {"R:\\install.ini", "R:\\DATA\\alpha.txt", "R:\\DATA\\SUB\\big.bin"}) {
            std::string contents;
            const int error = ReadAll(path, &contents);
            if (error == 0) {
                EXPECT_TRUE(contents == "[setup]\n" || contents == "alpha bytes" || contents == std::string(5000, 'b'))
                    << path;
            } else {
                EXPECT_TRUE(error == EIO || error == ENOENT) << path << ": " << std::strerror(error);
            }
        }
    }
    // Cut inside a file's bytes: that file is named, and reading it fails.
    m_bytes = whole;
    const std::size_t cut = std::size_t{ExtentOf(RecordOf("BIG.BIN;1"))} * 2048 + 100;
    ASSERT_LT(cut, whole.size());
    m_bytes = whole.substr(0, cut);
    Save();
    ASSERT_TRUE(OpenDrive()) << Problems();
    EXPECT_TRUE(HasProblem("\\DATA\\SUB\\big.bin", "past the end of the image")) << Problems();
    std::string contents;
    EXPECT_EQ(ReadAll("R:\\DATA\\SUB\\big.bin", &contents), EIO);
}

TEST_F(DiscImageTest, DamagedRecordsAreNamedAndFailWhatTheyHold) {
    MakeSource();
    Master();
    const std::string whole = m_bytes;
    const std::uint32_t pastTheEnd = static_cast<std::uint32_t>(whole.size() / 2048 + 10);

    // A file whose extent lies past the end of the image.
    SetExtent(RecordOf("ALPHA.TXT;1"), pastTheEnd);
    Save();
    ASSERT_TRUE(OpenDrive()) << Problems();
    EXPECT_TRUE(HasProblem("\\DATA\\alpha.txt", "past the end of the image")) << Problems();
    std::string contents;
    EXPECT_EQ(ReadAll("R:\\DATA\\alpha.txt", &contents), EIO);
    // The journal's account of the failure names the image and the file.
    errno = EIO;
    EXPECT_EQ(posixplat::PosixSystemErrors().LastError().text,
              std::string(std::strerror(EIO)) + ": " + ImagePath() + ": \\DATA\\alpha.txt: the image ends before the file's data");

    // A folder whose records lie past the end: named, and it cannot be listed.
    m_bytes = whole;
    SetExtent(RecordOf("SUB"), pastTheEnd);
    Save();
    ASSERT_TRUE(OpenDrive()) << Problems();
    EXPECT_TRUE(HasProblem("\\DATA\\SUB", "past the end of the image")) << Problems();
    errno = 0;
    EXPECT_EQ(List("R:\\DATA\\SUB"), std::vector<std::string>{"<cannot be listed>"});
    EXPECT_EQ(errno, EIO);

    // A loop: DATA\SUB's records are DATA's own.
    m_bytes = whole;
    SetExtent(RecordOf("SUB"), ExtentOf(RecordOf("DATA")));
    Save();
    ASSERT_TRUE(OpenDrive()) << Problems();
    EXPECT_TRUE(HasProblem("\\DATA\\SUB", "a loop in the folder tree")) << Problems();
    EXPECT_EQ(List("R:\\DATA\\SUB"), std::vector<std::string>{"<cannot be listed>"});
    EXPECT_EQ(ReadAll("R:\\DATA\\alpha.txt", &contents), 0);

    // A record whose length runs over its sector: whatever the library makes of it,
    // nothing crashes and the other folders stay readable.
    m_bytes = whole;
    m_bytes[RecordOf("SUB")] = static_cast<char>(0xFF);
    Save();
    if (OpenDrive()) {
        List("R:\\DATA");
        contents.clear();
        EXPECT_EQ(ReadAll("R:\\install.ini", &contents), 0);
    }
}

TEST_F(DiscImageTest, NamesThatAreNoWindowsNamesAreLeftOut) {
    ASSERT_TRUE(testsupport::WriteHostFile(Folder() + "/install.ini", "[setup]\n"));
    ASSERT_TRUE(testsupport::WriteHostFile(Folder() + "/back\\slash", "b"));
    ASSERT_TRUE(testsupport::WriteHostFile(Folder() + "/slashXname", "s"));
    ASSERT_TRUE(testsupport::WriteHostFile(Folder() + "/zq", "d"));
    ASSERT_TRUE(testsupport::WriteHostFile(Folder() + "/ask?", "q"));
    Master();
    // Names Linux cannot hold, written into the Rock Ridge names afterwards.
    ReplaceOnly("slashXname", "slash/name");
    ReplaceOnly("zq", "..");
    Save();
    ASSERT_TRUE(OpenDrive()) << Problems();
    EXPECT_TRUE(HasProblem("\\back\\slash", "path separator")) << Problems();
    EXPECT_TRUE(HasProblem("\\slash/name", "path separator")) << Problems();
    EXPECT_TRUE(HasProblem("\\ask?", "Windows does not allow")) << Problems();
    EXPECT_EQ(List("R:\\"), std::vector<std::string>{"install.ini"});
}

TEST_F(DiscImageTest, AVolumeWithoutFilesIsAnEmptyDisc) {
    ASSERT_EQ(::mkdir(Folder().c_str(), 0755), 0);
    Master("-J -R");
    ASSERT_TRUE(OpenDrive()) << Problems();
    EXPECT_TRUE(m_problems.empty()) << Problems();
    EXPECT_TRUE(List("R:\\").empty());
    EXPECT_FALSE(m_drives->Exists("R:\\install.ini"));
    EXPECT_TRUE(m_drives->Exists("R:\\"));
}

TEST_F(DiscImageTest, WhatIsNoImageIsRefusedWithItsName) {
    const std::string cases[] = {std::string(), std::string(64 * 1024, '\0'), "FILE \"missing.bin\" BINARY\n"};
    for (const std::string& bytes : cases) {
        m_bytes = bytes;
        Save();
        EXPECT_FALSE(OpenDrive());
        EXPECT_EQ(m_error.rfind(ImagePath() + ": ", 0), 0u) << m_error;
        errno = 0;
        EXPECT_FALSE(m_drives->Exists("R:\\install.ini"));
        EXPECT_EQ(errno, ENOMEDIUM);
    }
}

}  // namespace
