#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <algorithm>

#include "tests/core/dialog_fixture.h"

namespace {

using testsupport::HostFileExists;
using testsupport::ListHostFolder;
using testsupport::ReadHostFile;

class DataSetTest : public DialogFixture {
protected:
    void SetUp() override {
        dlg().m_strInstallDir = kInstallDir;
        dlg().m_strSourceRoot = "Q:\\";
    }
    std::string Installed(const std::string& relative) { return HostPath(kInstallDir + "\\" + relative); }
    // Every file of the data-set folder arrived intact.
    void ExpectCopied(const testsupport::SampleDisc& disc, const std::string& folder) {
        // The set's folder takes the configured name; everything below keeps the disc's.
        for (const auto& file : disc.FilesBelow(folder)) {
            std::string windows = folder + file.path.substr(folder.size());
            for (char& c : windows)
                if (c == '/') c = '\\';
            EXPECT_TRUE(ReadHostFile(Installed(windows)) == testsupport::SampleFileContent(file.path, file.size))
                << file.path;
        }
    }
};

TEST_F(DataSetTest, CopiesNestedFoldersSkipsDotFoldersKeepsDotFiles) {
    const auto disc = InsertDisc({.dotEntries = true});
    ASSERT_EQ(dlg().InstallDataSet(112), 1);
    for (const std::string& folder : testsupport::SampleBaseFolders()) ExpectCopied(disc, folder);
    EXPECT_TRUE(HostFileExists(Installed("CUR\\SUB\\DEEP\\CUR_D0.DAT")));
    EXPECT_TRUE(HostFileExists(Installed("CUR\\.keep")));
    EXPECT_FALSE(Exists(kInstallDir + "\\CUR\\.cache"));
    EXPECT_FALSE(Exists(kInstallDir + "\\KOE"));
}

TEST_F(DataSetTest, LowerCaseNamesOnTheDiscAreFound) {
    const auto disc = InsertDisc({.lowerCaseNames = true});
    ASSERT_EQ(dlg().InstallDataSet(113), 1);
    EXPECT_EQ(ListHostFolder(Installed("")), (std::vector<std::string>{"KOE"}));
    ExpectCopied(disc, "KOE");
}

TEST_F(DataSetTest, EmptyOrAbsentSetAndMissingFolder) {
    InsertDisc({.voice = false});
    strings().Remove(114);
    EXPECT_EQ(dlg().InstallDataSet(114), 1);
    EXPECT_FALSE(Exists(kInstallDir));
    // A folder the disc lacks becomes an empty folder and counts as installed.
    EXPECT_EQ(dlg().InstallDataSet(113), 1);
    EXPECT_TRUE(testsupport::HostFolderExists(Installed("KOE")));
    EXPECT_TRUE(ListHostFolder(Installed("KOE")).empty());
}

TEST_F(DataSetTest, TrailingBackslashOnInstallFolderGivesNoDoubledSeparator) {
    InsertDisc();
    dlg().m_strInstallDir = kInstallDir + "\\\\";
    ASSERT_EQ(dlg().InstallDataSet(113), 1);
    EXPECT_TRUE(HostFileExists(Installed("KOE\\KOE_00.DAT")));
}

// A failure at index k cleans folders k down to 1; the set's first folder is never
// cleaned. Every folder holds an OLD.DAT beforehand, so cleaning shows even where the
// copy had not got far.
TEST_F(DataSetTest, RollbackFromTheFailedFolderDownToIndexOne) {
    struct Case {
        const char* failingFile;
        std::vector<std::string> cleaned;  // lose their direct files
    };
    const Case cases[] = {
        {"CUR_S0.DAT", {}},  // index 0: nothing is cleaned
        {"MCG_S0.DAT", {"MCG"}},
        {"MSK_S0.DAT", {"MCG", "MSK"}},
        {"MSE_D0.DAT", {"MCG", "MSK", "TXT", "MSE"}},
    };
    InsertDisc();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failingFile);
        testsupport::RemoveHostTree(HostPath("C:\\Program Files"));
        for (const std::string& folder : testsupport::SampleBaseFolders())
            ASSERT_TRUE(testsupport::WriteHostFile(Installed(folder + "\\OLD.DAT"), "old"));
        faults().failReadName = c.failingFile;
        EXPECT_EQ(dlg().InstallDataSet(112), 0);
        for (const std::string& folder : testsupport::SampleBaseFolders()) {
            const bool cleaned = std::find(c.cleaned.begin(), c.cleaned.end(), folder) != c.cleaned.end();
            EXPECT_EQ(HostFileExists(Installed(folder + "\\OLD.DAT")), !cleaned) << folder;
            if (cleaned) {
                // Only direct files go: the sub-folder, and so the folder, stays.
                for (const std::string& name : ListHostFolder(Installed(folder))) EXPECT_EQ(name, "SUB") << folder;
            }
        }
        faults() = {};
    }
}

TEST_F(DataSetTest, FailureStopsTheWholeTreeAtOnce) {
    InsertDisc();
    faults().failReadName = "CUR_S0.DAT";  // deep inside the first folder
    EXPECT_EQ(dlg().InstallDataSet(112), 0);
    EXPECT_FALSE(Exists(kInstallDir + "\\CUR\\SUB\\CUR_S0.DAT"));
    EXPECT_FALSE(Exists(kInstallDir + "\\MCG"));
}

TEST_F(DataSetTest, FolderThatCannotBeCreatedFailsTheSet) {
    InsertDisc();
    faults().failCreateFolderName = "MSK";
    EXPECT_EQ(dlg().InstallDataSet(112), 0);
    EXPECT_FALSE(Exists(kInstallDir + "\\MSK"));
    // Index 2 failed: MCG (index 1) was cleaned, CUR kept.
    EXPECT_FALSE(ListHostFolder(Installed("CUR")).empty());
    EXPECT_EQ(ListHostFolder(Installed("MCG")), (std::vector<std::string>{"SUB"}));
}

// The loop is made with the host's symbolic links; the Windows build's system makes
// folder links only with rights the tests do not have.
#ifndef _WIN32
TEST_F(DataSetTest, SymbolicLinkLoopOnTheDiscIsNotFollowed) {
    InsertDisc();
    const std::string loop = HostPath("Q:\\CUR\\SUB\\LOOP");
    ASSERT_EQ(symlink("..", loop.c_str()), 0);
    ASSERT_EQ(dlg().InstallDataSet(112), 1);
    EXPECT_TRUE(HostFileExists(Installed("CUR\\SUB\\CUR_S0.DAT")));
    EXPECT_FALSE(Exists(kInstallDir + "\\CUR\\SUB\\LOOP"));
}
#endif

}  // namespace
