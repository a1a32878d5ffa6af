// Saving shell links through the drive mapping: where the file lands, what it says about
// its target, and that a failed save leaves nothing behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/posix/fs/posix_file_system.h"
#include "platform/posix/shell/posix_shell.h"
#include "tests/support/lnk_reader.h"
#include "tests/support/fixtures/temp_system_root.h"

namespace {

namespace fs = std::filesystem;

const std::string kTarget = "C:\\Program Files\\Velstra\\Mirel\\KARVEX34.EXE";
const std::string kInstallDir = "C:\\Program Files\\Velstra\\Mirel";
const std::string kDesktop = "C:\\users\\player\\Desktop";
const std::u16string kDesktopLink = u"C:\\users\\player\\Desktop\\\u30CF\u30EB\u30CD\u30A2.lnk";  // ハルネア.lnk

class ShellLinkSave : public testing::Test {
protected:
    void SetUp() override {
        m_root.addDrive('E', "removable");
        fs::create_directories(DesktopHost());
        fs::create_directories(Host("C:\\Program Files\\Velstra\\Mirel"));
        // An empty mount table: no optical drive of the host shows up.
        const std::string mounts = m_root.root() + "/mounts";
        std::ofstream(mounts).flush();
        m_fileSystem = std::make_unique<posixplat::PosixFileSystem>(m_root.root(), mounts);
        m_shell = std::make_unique<posixplat::PosixShell>(*m_fileSystem);
    }

    fs::path Host(const std::string& windowsPath) const { return fs::u8path(m_root.hostPath(windowsPath)); }
    fs::path DesktopHost() const { return Host(kDesktop); }
    fs::path DesktopLinkHost() const { return Host(kDesktop + "\\ハルネア.lnk"); }

    void WriteHost(const fs::path& path, const std::string& contents) const {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << contents;
    }
    std::string ReadHost(const fs::path& path) const {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::vector<std::string> Listing(const fs::path& folder) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::unique_ptr<plat::ShellLink> Link(const std::string& target, const std::string& workingDirectory) {
        std::unique_ptr<plat::ShellLink> link = m_shell->CreateLink();
        EXPECT_TRUE(link->SetPath(target));
        EXPECT_TRUE(link->ClearArguments());
        EXPECT_TRUE(link->SetWorkingDirectory(workingDirectory));
        return link;
    }

    lnktest::LnkFile ReadLink(const fs::path& path) const {
        lnktest::LnkFile link;
        std::string error;
        EXPECT_TRUE(lnktest::ReadLnkFile(path.string(), &link, &error)) << error;
        return link;
    }

    testsupport::TempSystemRoot m_root;
    std::unique_ptr<posixplat::PosixFileSystem> m_fileSystem;
    std::unique_ptr<posixplat::PosixShell> m_shell;
};

TEST_F(ShellLinkSave, WritesTheLinkThroughTheDriveMapping) {
    WriteHost(Host(kTarget), std::string(1234, 'x'));
    EXPECT_TRUE(m_shell->InitializeComponents());

    ASSERT_TRUE(Link(kTarget, kInstallDir + "\\")->Save(kDesktopLink));

    EXPECT_EQ(Listing(DesktopHost()), std::vector<std::string>{"ハルネア.lnk"});
    const lnktest::LnkFile link = ReadLink(DesktopLinkHost());
    EXPECT_EQ(link.localBasePath, kTarget);
    EXPECT_FALSE(link.localBasePathUnicode.has_value());
    EXPECT_EQ(link.workingDirectory, u"C:\\Program Files\\Velstra\\Mirel\\");
    EXPECT_FALSE(link.arguments.has_value());
    EXPECT_EQ(link.driveType, 3u);
    // What the target looked like when the link was made.
    plat::FileStatus target;
    ASSERT_TRUE(m_fileSystem->GetStatus(kTarget, &target));
    EXPECT_EQ(link.fileSize, 1234u);
    EXPECT_EQ(link.fileAttributes, target.attributes);
    EXPECT_EQ(link.creationTime, target.creationTime);
    EXPECT_EQ(link.accessTime, target.lastAccessTime);
    EXPECT_EQ(link.writeTime, target.lastWriteTime);
    EXPECT_NE(link.writeTime, 0u);
}

TEST_F(ShellLinkSave, TargetNeedNotExist) {
    ASSERT_TRUE(Link(kTarget, kInstallDir)->Save(kDesktopLink));
    const lnktest::LnkFile link = ReadLink(DesktopLinkHost());
    EXPECT_EQ(link.localBasePath, kTarget);
    EXPECT_EQ(link.fileSize, 0u);
    EXPECT_EQ(link.writeTime, 0u);
    EXPECT_EQ(link.fileAttributes, 0u);
}

TEST_F(ShellLinkSave, JapaneseTargetOnARemovableDrive) {
    // E:\ハルネア\表\GAME.EXE: 表 is 0x95 0x5C in code page 932.
    const std::string target = "E:\\ハルネア\\表\\GAME.EXE";
    ASSERT_TRUE(Link(target, "E:\\ハルネア\\表")->Save(kDesktopLink));
    const lnktest::LnkFile link = ReadLink(DesktopLinkHost());
    EXPECT_EQ(link.driveType, 2u);
    EXPECT_EQ(link.localBasePath, "E:\\\x83\x6E\x83\x8B\x83\x6C\x83\x41\\\x95\x5C\\GAME.EXE");
    EXPECT_EQ(link.localBasePathUnicode, u"E:\\\u30CF\u30EB\u30CD\u30A2\\\u8868\\GAME.EXE");
    EXPECT_EQ(link.workingDirectory, u"E:\\\u30CF\u30EB\u30CD\u30A2\\\u8868");
}

TEST_F(ShellLinkSave, ReplacesAnExistingLinkOfAnyLetterCase) {
    WriteHost(DesktopHost() / "Mirel.LNK", "old link");
    ASSERT_TRUE(Link(kTarget, kInstallDir)->Save(u"C:\\USERS\\player\\desktop\\mirel.lnk"));
    EXPECT_EQ(Listing(DesktopHost()), std::vector<std::string>{"Mirel.LNK"});
    EXPECT_EQ(ReadLink(DesktopHost() / "Mirel.LNK").localBasePath, kTarget);
}

// The name handed over from a fixed-size buffer may carry its terminator: the name ends
// there, as it does for the system.
TEST_F(ShellLinkSave, NameEndsAtItsTerminator) {
    std::u16string name = kDesktopLink;
    name.push_back(u'\0');
    name += u"garbage";
    ASSERT_TRUE(Link(kTarget, kInstallDir)->Save(name));
    EXPECT_EQ(Listing(DesktopHost()), std::vector<std::string>{"ハルネア.lnk"});
}

TEST_F(ShellLinkSave, FailedSavesLeaveNothingBehind) {
    const struct {
        const char* what;
        std::string target;
        std::u16string name;
    } cases[] = {
        {"unmapped drive", kTarget, u"Q:\\\u30CF\u30EB\u30CD\u30A2.lnk"},
        {"missing folder", kTarget, u"C:\\users\\player\\Desktop\\Velstra\\\u30CF\u30EB\u30CD\u30A2.lnk"},
        {"name of a folder", kTarget, u"C:\\users\\player\\Desktop\\"},
        {"empty name", kTarget, u""},
        {"relative name", kTarget, u"\u30CF\u30EB\u30CD\u30A2.lnk"},
        {"unpaired surrogate in the name", kTarget, u"C:\\users\\player\\Desktop\\\xD800.lnk"},
        {"relative target", "KARVEX34.EXE", kDesktopLink},
        {"no target", "", kDesktopLink},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<plat::ShellLink> link = m_shell->CreateLink();
        link->SetPath(c.target);
        link->SetWorkingDirectory(kInstallDir);
        EXPECT_FALSE(link->Save(c.name));
        EXPECT_TRUE(Listing(DesktopHost()).empty());
        EXPECT_FALSE(fs::exists(Host("C:\\ハルネア.lnk")));
    }
}

TEST_F(ShellLinkSave, ReadOnlyOrFolderOfThatNameIsNotReplaced) {
    WriteHost(DesktopLinkHost(), "read-only link");
    plat::FileStatus status;
    const std::string windowsName = kDesktop + "\\ハルネア.lnk";
    ASSERT_TRUE(m_fileSystem->GetStatus(windowsName, &status));
    status.attributes |= plat::kAttrReadOnly;
    ASSERT_TRUE(m_fileSystem->SetStatus(windowsName, status));

    EXPECT_FALSE(Link(kTarget, kInstallDir)->Save(kDesktopLink));
    EXPECT_EQ(ReadHost(DesktopLinkHost()), "read-only link");
    EXPECT_EQ(Listing(DesktopHost()), std::vector<std::string>{"ハルネア.lnk"});

    fs::create_directories(DesktopHost() / "Folder.lnk");
    EXPECT_FALSE(Link(kTarget, kInstallDir)->Save(u"C:\\users\\player\\Desktop\\Folder.lnk"));
    EXPECT_TRUE(fs::is_directory(DesktopHost() / "Folder.lnk"));
}

TEST_F(ShellLinkSave, RefusesTextThatIsNotUtf8) {
    std::unique_ptr<plat::ShellLink> link = m_shell->CreateLink();
    EXPECT_FALSE(link->SetPath("C:\\\x95\x5C.EXE"));  // code page 932 bytes, not UTF-8
    EXPECT_FALSE(link->SetWorkingDirectory("C:\\\xC0\xAF"));  // an overlong '/'
}

}  // namespace
