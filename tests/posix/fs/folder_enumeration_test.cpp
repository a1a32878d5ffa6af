#include <gtest/gtest.h>
#include <unistd.h>

#include <map>
#include <string>

#include "tests/support/posix_fs_fixture.h"
#include "tests/support/fixtures/host_files.h"

namespace {

using testsupport::WriteHostFile;

// Name -> is-folder, failing the test on an entry delivered twice.
std::map<std::string, bool> Collect(plat::FolderEnumeration& enumeration) {
    std::map<std::string, bool> entries;
    plat::FolderEntry entry;
    while (enumeration.Next(&entry)) {
        EXPECT_TRUE(entries.emplace(entry.name, entry.isFolder).second) << "twice: " << entry.name;
    }
    return entries;
}

class FolderEnumerationTest : public PosixFsTest {
protected:
    void SetUp() override {
        PosixFsTest::SetUp();
        const std::string tree = DriveC() + "/tree";
        ASSERT_TRUE(WriteHostFile(tree + "/a.txt", "a"));
        ASSERT_TRUE(WriteHostFile(tree + "/.hidden", "h"));
        ASSERT_TRUE(WriteHostFile(tree + "/sub/b.txt", "b"));
        ASSERT_TRUE(WriteHostFile(tree + "/.dotdir/c.txt", "c"));
        // A folder link back up the tree: a copy that followed it would never end.
        ASSERT_EQ(::symlink("..", (tree + "/sub/loop").c_str()), 0);
        ASSERT_EQ(::symlink(DriveC().c_str(), (tree + "/drive").c_str()), 0);
        ASSERT_EQ(::symlink("a.txt", (tree + "/link.txt").c_str()), 0);
        ASSERT_EQ(::symlink("nowhere", (tree + "/dangling").c_str()), 0);
    }
};

TEST_F(FolderEnumerationTest, DeliversEveryEntryOnceWithoutDotsOrFolderLinks) {
    auto enumeration = fs().Enumerate("C:\\TREE\\*.*");
    ASSERT_TRUE(enumeration);
    const std::map<std::string, bool> expected{
        {".dotdir", true}, {".hidden", false}, {"a.txt", false},
        {"dangling", false}, {"link.txt", false}, {"sub", true},
    };
    EXPECT_EQ(Collect(*enumeration), expected);

    auto sub = fs().Enumerate("C:\\tree\\sub\\*");
    ASSERT_TRUE(sub);
    EXPECT_EQ(Collect(*sub), (std::map<std::string, bool>{{"b.txt", false}}));
}

TEST_F(FolderEnumerationTest, AFileLinkReadsAsItsTarget) {
    EXPECT_EQ(ReadThrough("C:\\tree\\link.txt"), "a");
}

TEST_F(FolderEnumerationTest, DriveRootAndEmptyFolders) {
    auto root = fs().Enumerate("C:\\*.*");
    ASSERT_TRUE(root);
    EXPECT_EQ(Collect(*root), (std::map<std::string, bool>{{"tree", true}}));

    ASSERT_TRUE(fs().CreateFolder("C:\\empty"));
    auto empty = fs().Enumerate("C:\\empty\\*.*");
    ASSERT_TRUE(empty);
    plat::FolderEntry entry;
    EXPECT_FALSE(empty->Next(&entry));
    EXPECT_FALSE(empty->Next(&entry));
}

TEST_F(FolderEnumerationTest, NothingToListGivesNull) {
    for (const char* pattern : {"C:\\missing\\*.*", "C:\\tree\\a.txt\\*.*", "C:\\tree", "C:\\tree\\*.txt",
                                "C:\\tree\\a*", "D:\\*.*"}) {
        EXPECT_FALSE(fs().Enumerate(pattern)) << pattern;
    }
}

}  // namespace
