// The sandbox's walls at the platform: every operation that reaches through a link that
// leaves its drive is refused as if the name did not exist, and leaves the place the
// link points to exactly as it was; a link that stays on the drive works.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/posix/shell/posix_shell.h"
#include "tests/support/posix_fs_fixture.h"

namespace {

namespace fsys = std::filesystem;

// Every path below `folder` with its type, mode, size, times and contents.
std::string Fingerprint(const std::string& folder) {
    std::string print;
    for (const auto& entry : fsys::recursive_directory_iterator(folder)) {
        struct stat info;
        if (::lstat(entry.path().c_str(), &info) != 0) continue;
        print += entry.path().string() + " " + std::to_string(info.st_mode) + " " + std::to_string(info.st_size) + " " +
                 std::to_string(info.st_mtim.tv_sec) + "." + std::to_string(info.st_mtim.tv_nsec) + "\n";
        if (S_ISREG(info.st_mode)) print += testsupport::ReadHostFile(entry.path().string()) + "\n";
    }
    return print;
}

enum class LinkKind { DotDot, Absolute, Loop, Inside };

struct LinkCase {
    const char* name;
    LinkKind kind;
};

class WallsTest : public PosixFsTest, public ::testing::WithParamInterface<LinkCase> {
protected:
    void SetUp() override {
        PosixFsTest::SetUp();
        char pattern[] = "/tmp/mirel-decoy.XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_decoy = pattern;
        ASSERT_TRUE(testsupport::WriteHostFile(m_decoy + "/user.txt", "the user's own data"));
        ASSERT_TRUE(testsupport::WriteHostFile(m_decoy + "/inner/keep.dat", "nested"));
        ASSERT_TRUE(testsupport::WriteHostFile(DriveC() + "/w/inner/user.txt", "on the drive"));
        ASSERT_TRUE(testsupport::WriteHostFile(DriveC() + "/w/inner/inner/keep.dat", "on the drive"));
        m_before = Fingerprint(m_decoy);
    }
    void TearDown() override {
        std::error_code ignored;
        fsys::remove_all(m_decoy, ignored);
    }

    // Makes C:\w\<name> a link of the case's kind, to the decoy folder (or, inside, to
    // C:\w\inner) or to its user.txt.
    void MakeLink(const std::string& name, bool toFile) {
        const std::string at = DriveC() + "/w/" + name;
        std::string target;
        switch (GetParam().kind) {
            case LinkKind::DotDot:
                target = "../../../../../../../../../.." + m_decoy;
                break;
            case LinkKind::Absolute:
                target = m_decoy;
                break;
            case LinkKind::Loop:
                ASSERT_EQ(::symlink((name + ".loop").c_str(), (at + ".loop").c_str()), 0);
                target = name + ".loop";
                break;
            case LinkKind::Inside:
                target = "inner";
                break;
        }
        if (toFile && GetParam().kind != LinkKind::Loop) target += "/user.txt";
        ASSERT_EQ(::symlink(target.c_str(), at.c_str()), 0) << at;
    }

    bool Inside() const { return GetParam().kind == LinkKind::Inside; }
    void ExpectDecoyUnchanged() { EXPECT_EQ(Fingerprint(m_decoy), m_before) << "the decoy outside the root changed"; }

    std::string m_decoy;
    std::string m_before;
};

TEST_P(WallsTest, OperationsThroughAFolderLink) {
    MakeLink("dir", false);
    const plat::FileStatus readOnly{0, 1, 1, 0, plat::kAttrReadOnly};
    const struct {
        const char* operation;
        std::function<bool()> run;
    } operations[] = {
        {"exists", [&] { return fs().Exists("C:\\w\\dir\\user.txt"); }},
        {"read", [&] { return ReadThrough("C:\\w\\dir\\user.txt") == "on the drive"; }},
        {"list", [&] { return fs().Enumerate("C:\\w\\dir\\*.*") != nullptr; }},
        {"write", [&] { return fs().OpenForWrite("C:\\w\\dir\\user.txt") != nullptr; }},
        {"set status", [&] { return fs().SetStatus("C:\\w\\dir\\user.txt", readOnly); }},
        {"create folder", [&] { return fs().CreateFolder("C:\\w\\dir\\new"); }},
        {"remove folder", [&] { return fs().RemoveFolder("C:\\w\\dir\\new"); }},
        {"remove file", [&] { return fs().RemoveFile("C:\\w\\dir\\inner\\keep.dat"); }},
        {"save link", [&] {
             posixplat::PosixShell shell(fs());
             auto link = shell.CreateLink();
             return link->SetPath("C:\\w\\target.exe") && link->Save(u"C:\\w\\dir\\x.lnk");
         }},
    };
    for (const auto& op : operations) {
        EXPECT_EQ(op.run(), Inside()) << op.operation;
    }
    ExpectDecoyUnchanged();
}

TEST_P(WallsTest, OperationsOnAFileLink) {
    MakeLink("file.txt", true);
    const plat::FileStatus readOnly{0, 1, 1, 0, plat::kAttrReadOnly};
    EXPECT_EQ(fs().OpenForRead("C:\\w\\file.txt") != nullptr, Inside());
    EXPECT_EQ(fs().OpenForWrite("C:\\w\\file.txt") != nullptr, Inside());
    EXPECT_EQ(fs().SetStatus("C:\\w\\file.txt", readOnly), Inside());
    ExpectDecoyUnchanged();
}

// A copy opens its destination, writes it, then sets its status, and removes it when that
// fails: a folder swapped for a link in between must not carry the later steps outside.
TEST_P(WallsTest, LinkSwappedInBetweenTheStepsOfACopy) {
    if (Inside()) GTEST_SKIP() << "a swap to a folder on the drive is an ordinary change";
    ASSERT_TRUE(testsupport::WriteHostFile(m_decoy + "/dst/f.dat", "decoy copy"));
    m_before = Fingerprint(m_decoy);
    ASSERT_TRUE(fs().CreateFolder("C:\\w\\dst"));
    WriteThrough("C:\\w\\dst\\f.dat", "game data");
    fsys::remove_all(DriveC() + "/w/dst");
    MakeLink("dst", false);
    if (GetParam().kind != LinkKind::Loop) {
        ::unlink((DriveC() + "/w/dst").c_str());
        ASSERT_EQ(::symlink((GetParam().kind == LinkKind::Absolute ? m_decoy + "/dst"
                                                                   : "../../../../../../../../../.." + m_decoy + "/dst")
                                .c_str(),
                            (DriveC() + "/w/dst").c_str()),
                  0);
    }
    const plat::FileStatus readOnly{0, 1, 1, 0, plat::kAttrReadOnly};
    EXPECT_FALSE(fs().SetStatus("C:\\w\\dst\\f.dat", readOnly));
    EXPECT_FALSE(fs().RemoveFile("C:\\w\\dst\\f.dat"));
    EXPECT_FALSE(fs().OpenForWrite("C:\\w\\dst\\f.dat"));
    ExpectDecoyUnchanged();
}

INSTANTIATE_TEST_SUITE_P(Kinds, WallsTest,
                         ::testing::Values(LinkCase{"DotDot", LinkKind::DotDot}, LinkCase{"Absolute", LinkKind::Absolute},
                                           LinkCase{"Loop", LinkKind::Loop}, LinkCase{"Inside", LinkKind::Inside}),
                         [](const ::testing::TestParamInfo<LinkCase>& info) { return std::string(info.param.name); });

// The copy's own source may never become its destination, by any name: Windows refuses
// the second open with a sharing violation, and truncating would lose the source.
TEST_F(PosixFsTest, AFileOpenForReadingCannotBeOpenedForWritingByAnyName) {
    ASSERT_TRUE(testsupport::WriteHostFile(DriveC() + "/src/a.dat", "source"));
    ASSERT_EQ(::symlink("a.dat", (DriveC() + "/src/alias.dat").c_str()), 0);
    ASSERT_EQ(::link((DriveC() + "/src/a.dat").c_str(), (DriveC() + "/src/hard.dat").c_str()), 0);
    {
        auto in = fs().OpenForRead("C:\\src\\a.dat");
        ASSERT_TRUE(in);
        for (const char* name : {"C:\\src\\a.dat", "C:\\SRC\\A.DAT", "C:\\src\\alias.dat", "C:\\src\\hard.dat"}) {
            EXPECT_FALSE(fs().OpenForWrite(name)) << name;
        }
        EXPECT_EQ(testsupport::ReadHostFile(DriveC() + "/src/a.dat"), "source");
    }
    EXPECT_TRUE(fs().OpenForWrite("C:\\src\\hard.dat")) << "closed again, the file is free";
}

}  // namespace
