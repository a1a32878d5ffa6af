#include <gtest/gtest.h>

#include "tests/core/dialog_fixture.h"

namespace {

using testsupport::HostFileExists;
using testsupport::HostFolderExists;
using testsupport::ReadHostFile;
using testsupport::WriteHostFile;

constexpr std::size_t kMb = 0x100000;

class CopyFileTest : public DialogFixture {
protected:
    // A file on the disc, Q:\name, with deterministic content of `size` bytes.
    std::string DiscFile(const std::string& name, std::size_t size) {
        const std::string content = testsupport::SampleFileContent(name, size);
        EXPECT_TRUE(WriteHostFile(HostPath("Q:\\" + name), content));
        return content;
    }
    bool NoFile(const std::string& windowsPath) { return !HostFileExists(HostPath(windowsPath)); }
};

TEST_F(CopyFileTest, CreateFolderTreeCases) {
    ASSERT_TRUE(WriteHostFile(HostPath("C:\\file.txt"), "x"));
    struct Case {
        const char* path;
        int result;
        const char* mustExist;
    };
    const Case cases[] = {
        {"C:\\A\\B\\C", 1, "C:\\A\\B\\C"},
        {"C:\\A\\B\\C", 1, "C:\\A\\B\\C"},          // exists already
        {"C:\\A\\B\\\\\\", 1, "C:\\A\\B"},          // trailing backslashes name an existing folder
        {"C:\\file.txt", 1, "C:\\file.txt"},        // an existing file counts
        {"C:\\D\\E\\", 1, "C:\\D\\E"},
        {"Z:\\unmapped\\F", 0, nullptr},            // a drive that does not exist
        {"C:\\file.txt\\G", 0, nullptr},            // a file in the way
    };
    for (const Case& c : cases) {
        EXPECT_EQ(dlg().CreateFolderTree(c.path), c.result) << c.path;
        if (c.mustExist) {
            EXPECT_TRUE(Exists(c.mustExist)) << c.path;
        }
    }
}

TEST_F(CopyFileTest, CreateFolderTreeFailureKeepsTheParentsMade) {
    faults().failCreateFolderName = "C3";
    EXPECT_EQ(dlg().CreateFolderTree("C:\\A1\\B2\\C3"), 0);
    EXPECT_TRUE(HostFolderExists(HostPath("C:\\A1\\B2")));
    EXPECT_FALSE(Exists("C:\\A1\\B2\\C3"));
}

TEST_F(CopyFileTest, ReadOnlySourceGivesWritableCopyWithSourceTimes) {
    const std::string content = DiscFile("RO.DAT", 5000);
    plat::FileStatus stamp;
    ASSERT_TRUE(platform().fileSystem.GetStatus("Q:\\RO.DAT", &stamp));
    stamp.lastWriteTime -= 10'000'000ull * 86400 * 400;  // about 400 days ago
    stamp.lastAccessTime -= 10'000'000ull * 86400 * 300;
    stamp.attributes |= plat::kAttrReadOnly;
    ASSERT_TRUE(platform().fileSystem.SetStatus("Q:\\RO.DAT", stamp));
    plat::FileStatus source;
    ASSERT_TRUE(platform().fileSystem.GetStatus("Q:\\RO.DAT", &source));
    ASSERT_TRUE(source.attributes & plat::kAttrReadOnly);

    ASSERT_EQ(dlg().CopyFileWithProgress("C:\\RO.DAT", "Q:\\RO.DAT"), 1);

    plat::FileStatus copy;
    ASSERT_TRUE(platform().fileSystem.GetStatus("C:\\RO.DAT", &copy));
    EXPECT_FALSE(copy.attributes & plat::kAttrReadOnly);
    EXPECT_EQ(copy.lastWriteTime / 10'000'000, source.lastWriteTime / 10'000'000);
    EXPECT_EQ(copy.lastAccessTime / 10'000'000, source.lastAccessTime / 10'000'000);
    EXPECT_EQ(ReadHostFile(HostPath("C:\\RO.DAT")), content);
    EXPECT_TRUE(platform().fileSystem.RemoveFile("C:\\RO.DAT"));  // writable: the user can delete it
}

TEST_F(CopyFileTest, BlockBoundariesAndProgress) {
    struct Case {
        std::size_t size;
        int reads;  // with the 1 MB buffer
        std::vector<int> progress;
    };
    const Case cases[] = {
        {0, 1, {0, 100}},
        {1, 1, {0, 100}},
        {kMb, 2, {0, 100, 100}},  // exactly one block: a second read returns nothing
        {kMb + 1, 2, {0, 0, 100}},
        {3 * kMb + 17, 4, {0, 0, 0, 0, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        Start();
        const std::string content = DiscFile("F.DAT", c.size);
        const int readsBefore = counters().Calls(faultplat::Op::Read);
        EXPECT_EQ(dlg().CopyFileWithProgress("C:\\F.DAT", "Q:\\F.DAT"), 1);
        EXPECT_EQ(counters().Calls(faultplat::Op::Read) - readsBefore, c.reads);
        EXPECT_EQ(host().ProgressHistory(), c.progress);
        EXPECT_EQ(ReadHostFile(HostPath("C:\\F.DAT")), content);
        EXPECT_EQ(counters().liveAllocations, 0);
    }
}

TEST_F(CopyFileTest, OverwritesAnExistingDestination) {
    const std::string content = DiscFile("F.DAT", 100);
    ASSERT_TRUE(WriteHostFile(HostPath("C:\\F.DAT"), std::string(5000, 'o')));
    EXPECT_EQ(dlg().CopyFileWithProgress("C:\\F.DAT", "Q:\\F.DAT"), 1);
    EXPECT_EQ(ReadHostFile(HostPath("C:\\F.DAT")), content);
}

TEST_F(CopyFileTest, MissingSourceLeavesAnExistingDestinationUntouched) {
    ASSERT_TRUE(WriteHostFile(HostPath("C:\\F.DAT"), "the user's own file"));
    EXPECT_EQ(dlg().CopyFileWithProgress("C:\\F.DAT", "Q:\\MISSING.DAT"), 0);
    EXPECT_EQ(ReadHostFile(HostPath("C:\\F.DAT")), "the user's own file");
    EXPECT_EQ(dlg().CopyFileWithProgress("C:\\NEW.DAT", "Q:\\MISSING.DAT"), 0);
    EXPECT_TRUE(NoFile("C:\\NEW.DAT"));
}

TEST_F(CopyFileTest, MissingDestinationFolderFailsWithoutTouchingTheSource) {
    const std::string content = DiscFile("F.DAT", 100);
    EXPECT_EQ(dlg().CopyFileWithProgress("C:\\NOFOLDER\\F.DAT", "Q:\\F.DAT"), 0);
    EXPECT_FALSE(Exists("C:\\NOFOLDER"));
    EXPECT_EQ(ReadHostFile(HostPath("Q:\\F.DAT")), content);
}

TEST_F(CopyFileTest, EveryFailurePointLeavesNoPartialFile) {
    struct Case {
        const char* name;
        faultplat::FaultPlan plan;
    };
    auto plan = [](auto edit) {
        faultplat::FaultPlan p;
        edit(p);
        return p;
    };
    auto nth = [](faultplat::Op op, int n) {
        faultplat::FaultPlan p;
        p.countdowns = {faultplat::Countdown::Nth(op, n)};
        return p;
    };
    const Case cases[] = {
        {"first read", nth(faultplat::Op::Read, 1)},
        {"third read", nth(faultplat::Op::Read, 3)},
        {"first write", nth(faultplat::Op::Write, 1)},
        {"second write", nth(faultplat::Op::Write, 2)},
        {"disk full mid-file", plan([](auto& p) { p.diskFullAfterBytes = kMb + kMb / 2; })},
        {"disk full at once", plan([](auto& p) { p.diskFullAfterBytes = 0; })},
        {"read by name", plan([](auto& p) { p.failReadName = "big.dat"; })},
        {"no buffer at all", plan([](auto& p) { p.failAllocationAtOrAbove = 1; })},
    };
    const std::string content = DiscFile("BIG.DAT", 3 * kMb + 5);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteHostFile(HostPath("C:\\KEEP.DAT"), "unrelated"));
        // Countdowns count from here; the byte limit counts from the start.
        faults() = c.plan;
        if (c.plan.diskFullAfterBytes) *faults().diskFullAfterBytes += counters().bytesWritten;
        EXPECT_EQ(dlg().CopyFileWithProgress("C:\\BIG.DAT", "Q:\\BIG.DAT"), 0);
        EXPECT_TRUE(NoFile("C:\\BIG.DAT"));
        EXPECT_EQ(ReadHostFile(HostPath("C:\\KEEP.DAT")), "unrelated");
        EXPECT_EQ(counters().liveAllocations, 0);
        faults() = {};
    }
    EXPECT_EQ(ReadHostFile(HostPath("Q:\\BIG.DAT")), content);
}

TEST_F(CopyFileTest, BufferFallsBackByHalvingDownTo64K) {
    struct Case {
        std::size_t failAtOrAbove;
        std::size_t used;  // 0: the copy gives up
    };
    const Case cases[] = {
        {kMb + 1, kMb},
        {kMb, kMb / 2},
        {kMb / 4, kMb / 8},
        {kMb / 8, kMb / 16},
        {kMb / 16, 0},
    };
    const std::string content = DiscFile("F.DAT", kMb);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failAtOrAbove);
        faults().failAllocationAtOrAbove = c.failAtOrAbove;
        testsupport::RemoveHostTree(HostPath("C:\\F.DAT"));
        const int readsBefore = counters().Calls(faultplat::Op::Read);
        const int result = dlg().CopyFileWithProgress("C:\\F.DAT", "Q:\\F.DAT");
        if (c.used == 0) {
            EXPECT_EQ(result, 0);
            EXPECT_EQ(counters().Calls(faultplat::Op::Read), readsBefore);
            EXPECT_TRUE(NoFile("C:\\F.DAT"));
        } else {
            EXPECT_EQ(result, 1);
            EXPECT_EQ(counters().lastAllocationSize, c.used);
            // One read per block, then the one that finds the end.
            EXPECT_EQ(counters().Calls(faultplat::Op::Read) - readsBefore, static_cast<int>(kMb / c.used) + 1);
            EXPECT_EQ(ReadHostFile(HostPath("C:\\F.DAT")), content);
        }
        EXPECT_EQ(counters().liveAllocations, 0);
    }
}

TEST_F(CopyFileTest, RemovalPrimitivesNeverFailAndKeepWhatTheyCannotRemove) {
    ASSERT_TRUE(WriteHostFile(HostPath("C:\\D\\RO.DAT"), "read-only"));
    ASSERT_TRUE(testsupport::SetHostReadOnly(HostPath("C:\\D\\RO.DAT"), true));
    ASSERT_TRUE(WriteHostFile(HostPath("C:\\E\\F.DAT"), "x"));
    ASSERT_EQ(dlg().CreateFolderTree("C:\\Empty"), 1);

    EXPECT_EQ(dlg().RemoveFile("C:\\D\\RO.DAT"), 1);    // read-only: stays, even for root
    EXPECT_EQ(dlg().RemoveFile("C:\\D\\MISSING"), 1);
    EXPECT_EQ(dlg().RemoveFile("Z:\\unmapped"), 1);
    EXPECT_EQ(dlg().RemoveFolder("C:\\E"), 1);          // not empty: stays
    EXPECT_EQ(dlg().RemoveFolder("C:\\Nothing"), 1);
    const std::string withBackslashes = "C:\\Empty\\\\";
    EXPECT_EQ(dlg().RemoveFolder(withBackslashes), 1);
    EXPECT_EQ(withBackslashes, "C:\\Empty\\\\");

    EXPECT_TRUE(HostFileExists(HostPath("C:\\D\\RO.DAT")));
    EXPECT_TRUE(HostFileExists(HostPath("C:\\E\\F.DAT")));
    EXPECT_FALSE(Exists("C:\\Empty"));
}

}  // namespace
