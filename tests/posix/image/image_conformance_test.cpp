// The read side of the file-system conformance checks over a drive whose disc is an
// image: the trees those checks write, mastered as players' tools master discs, must
// read back through the image drive as through any drive (names without regard to case,
// every entry once without dot entries, double-byte names, sizes, times, attributes).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <map>
#include <string>

#include "platform/posix/fs/file_status.h"
#include "platform/posix/image/disc_image.h"
#include "platform/posix/image/image_drive_file_system.h"
#include "tests/support/posix_fs_fixture.h"
#include "tests/support/fixtures/host_files.h"

namespace {

struct Mastering {
    const char* name;
    const char* command;  // %s: the image, then the folder
};

class ImageConformance : public PosixFsTest, public ::testing::WithParamInterface<Mastering> {
protected:
    void SetUp() override {
        PosixFsTest::SetUp();
        const std::string folder = systemRoot().root() + "/master";
        const std::string image = systemRoot().root() + "/disc.img";
        for (const char* file : {"CUR_00.DAT", ".keep", "README", "CUR/inside.dat", "Data/MixedCase.Dat",
                                 "表ハルネア/表.txt"}) {
            ASSERT_TRUE(testsupport::WriteHostFile(folder + "/" + file, file));
        }
        ASSERT_TRUE(testsupport::WriteHostFile(folder + "/source.dat", std::string(70000, 'x')));
        ASSERT_EQ(::mkdir((folder + "/.cache").c_str(), 0755), 0);
        ASSERT_EQ(::mkdir((folder + "/CUR/SUB").c_str(), 0755), 0);
        const std::string touch = "touch -d @1700000007 '" + folder + "/source.dat'";
        ASSERT_EQ(std::system(touch.c_str()), 0);
        char command[4096];
        std::snprintf(command, sizeof command, GetParam().command, image.c_str(), folder.c_str());
        ASSERT_EQ(std::system(command), 0) << command;
        std::string error;
        std::unique_ptr<posixplat::DiscImage> opened = posixplat::DiscImage::Open(image, &error, &m_problems);
        ASSERT_TRUE(opened) << error;
        m_drives = std::make_unique<posixplat::ImageDriveFileSystem>(fs());
        m_drives->AddDrive('R', std::move(opened));
    }

    std::string Read(const std::string& path) {
        auto file = m_drives->OpenForRead(path);
        if (!file) return "<cannot open>";
        std::string contents(100000, '\0');
        std::size_t got = 0;
        if (!file->Read(contents.data(), contents.size(), &got)) return "<read error>";
        contents.resize(got);
        return contents;
    }

    std::map<std::string, bool> List(const std::string& folder) {
        std::map<std::string, bool> entries;
        auto enumeration = m_drives->Enumerate(folder + "\\*.*");
        EXPECT_TRUE(enumeration) << folder;
        if (!enumeration) return entries;
        plat::FolderEntry entry;
        while (enumeration->Next(&entry)) {
            EXPECT_TRUE(entries.emplace(entry.name, entry.isFolder).second) << "delivered twice: " << entry.name;
        }
        return entries;
    }

    std::vector<std::string> m_problems;
    std::unique_ptr<posixplat::ImageDriveFileSystem> m_drives;
};

TEST_P(ImageConformance, ReadsAsTheChecksReadAnyDrive) {
    EXPECT_TRUE(m_problems.empty());
    struct Case {
        const char* path;
        bool exists;
    };
    for (const Case& c : {Case{"R:\\Data\\MixedCase.Dat", true}, Case{"R:\\DATA\\mixedcase.dat", true},
                          Case{"R:\\data\\MIXEDCASE.DAT", true}, Case{"R:\\data", true},
                          Case{"R:\\Data\\MixedCase.Da", false}, Case{"R:\\", true}}) {
        EXPECT_EQ(m_drives->Exists(c.path), c.exists) << c.path;
    }
    EXPECT_EQ(Read("R:\\DATA\\MIXEDCASE.DAT"), "Data/MixedCase.Dat");

    EXPECT_EQ(List("R:\\"), (std::map<std::string, bool>{{"CUR", true},
                                                          {".cache", true},
                                                          {"CUR_00.DAT", false},
                                                          {".keep", false},
                                                          {"README", false},
                                                          {"Data", true},
                                                          {"source.dat", false},
                                                          {"表ハルネア", true}}));
    EXPECT_EQ(List("R:\\CUR"), (std::map<std::string, bool>{{"SUB", true}, {"inside.dat", false}}));
    EXPECT_TRUE(List("R:\\CUR\\SUB").empty());
    EXPECT_FALSE(m_drives->Enumerate("R:\\Missing\\*.*"));
    EXPECT_EQ(Read("R:\\表ハルネア\\表.txt"), "表ハルネア/表.txt");
    EXPECT_EQ(List("R:\\表ハルネア"), (std::map<std::string, bool>{{"表.txt", false}}));

    plat::FileStatus status;
    ASSERT_TRUE(m_drives->GetStatus("R:\\source.dat", &status));
    EXPECT_EQ(status.size, 70000);
    EXPECT_EQ(status.lastWriteTime, posixplat::ToFileTime(1700000007, 0));
    EXPECT_EQ(status.attributes & plat::kAttrDirectory, 0u);
    EXPECT_NE(status.attributes & plat::kAttrReadOnly, 0u);
    EXPECT_EQ(Read("R:\\source.dat"), std::string(70000, 'x'));
    ASSERT_TRUE(m_drives->GetStatus("R:\\CUR", &status));
    EXPECT_NE(status.attributes & plat::kAttrDirectory, 0u);
    EXPECT_FALSE(m_drives->OpenForRead("R:\\missing.dat"));
    EXPECT_FALSE(m_drives->OpenForWrite("R:\\source.dat"));
    EXPECT_EQ(Read("R:\\source.dat"), std::string(70000, 'x'));
}

INSTANTIATE_TEST_SUITE_P(
    Masterings, ImageConformance,
    ::testing::Values(Mastering{"Joliet", "genisoimage -quiet -input-charset utf-8 -J -o '%s' '%s'"},
                      Mastering{"JolietAndRockRidge", "genisoimage -quiet -input-charset utf-8 -J -R -o '%s' '%s'"},
                      Mastering{"RockRidge", "genisoimage -quiet -input-charset utf-8 -R -o '%s' '%s'"},
                      Mastering{"XorrisoRockRidge", "xorriso -report_about SORRY -outdev '%s' -map '%s' / >/dev/null 2>&1"},
                      Mastering{"UdfBridge", "genisoimage -quiet -input-charset utf-8 -udf -o '%s' '%s'"}),
    [](const ::testing::TestParamInfo<Mastering>& info) { return std::string(info.param.name); });

}  // namespace
