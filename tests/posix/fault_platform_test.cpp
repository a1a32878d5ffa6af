#include "tests/support/fault_platform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/posix/posix_memory.h"
#include "platform/posix/posix_system_text.h"
#include "posix_fs_fixture.h"
#include "tests/support/fault_state.h"
#include "tests/support/fixtures/host_files.h"
#include "tests/support/fixtures/sample_disc.h"

namespace {

using testsupport::FaultPlan;
using testsupport::FaultPlatform;

// Registry and shell stand-ins that accept everything and remember what reached them.
class AcceptingRegistry : public plat::Registry {
public:
    plat::RegResult CreateKey(plat::RegKeyHandle, const std::string&, plat::RegKeyHandle* key) override {
        *key = 1;
        return plat::kErrorSuccess;
    }
    plat::RegResult OpenKey(plat::RegKeyHandle, const std::string&, std::uint32_t, plat::RegKeyHandle* key) override {
        *key = 1;
        return plat::kErrorSuccess;
    }
    plat::RegResult EnumKey(plat::RegKeyHandle, std::uint32_t, char*, std::uint32_t*) override {
        return plat::kErrorNoMoreItems;
    }
    plat::RegResult EnumValue(plat::RegKeyHandle, std::uint32_t, char*, std::uint32_t*) override {
        return plat::kErrorNoMoreItems;
    }
    plat::RegResult QueryValue(plat::RegKeyHandle, const std::string&, std::uint32_t*, unsigned char*,
                               std::uint32_t*) override {
        return plat::kErrorFileNotFound;
    }
    plat::RegResult SetValue(plat::RegKeyHandle, const std::string& name, std::uint32_t, const unsigned char*,
                             std::uint32_t) override {
        valuesSet.push_back(name);
        return plat::kErrorSuccess;
    }
    plat::RegResult DeleteKey(plat::RegKeyHandle, const std::string&) override { return plat::kErrorSuccess; }
    plat::RegResult CloseKey(plat::RegKeyHandle) override { return plat::kErrorSuccess; }

    std::vector<std::string> valuesSet;
};

class AcceptingShell : public plat::Shell {
public:
    bool InitializeComponents() override { return true; }
    std::unique_ptr<plat::ShellLink> CreateLink() override { return std::make_unique<Link>(*this); }
    int saves = 0;

private:
    struct Link : plat::ShellLink {
        explicit Link(AcceptingShell& shell) : shell(shell) {}
        bool SetPath(const std::string&) override { return true; }
        bool ClearArguments() override { return true; }
        bool SetWorkingDirectory(const std::string&) override { return true; }
        bool Save(const std::u16string&) override {
            ++shell.saves;
            return true;
        }
        AcceptingShell& shell;
    };
};

template <typename Setter>
FaultPlan Plan(Setter set) {
    FaultPlan plan;
    set(plan);
    return plan;
}

class FaultPlatformTest : public PosixFsTest {
protected:
    FaultPlatform& Faults(FaultPlan plan = {}) {
        m_real = std::make_unique<plat::Platform>(plat::Platform{fs(), m_registry, m_shell, m_text, m_memory});
        m_faults = std::make_unique<FaultPlatform>(*m_real, std::move(plan));
        return *m_faults;
    }
    plat::FileSystem& faultFs() { return m_faults->platform().fileSystem; }
    const testsupport::FaultCounters& counters() { return m_faults->counters(); }

    void HostFile(const std::string& relative, std::size_t size) {
        ASSERT_TRUE(testsupport::WriteHostFile(DriveC() + "/" + relative, std::string(size, 'x')));
    }

    // Reads blocks of `block` bytes until the end or the first failure; returns how
    // many reads succeeded, -1 after it when one failed.
    std::vector<int> ReadAll(const std::string& path, std::size_t block) {
        auto file = faultFs().OpenForRead(path);
        EXPECT_TRUE(file) << path;
        std::vector<int> outcomes;
        if (!file) return outcomes;
        std::string buffer(block, '\0');
        std::size_t got = 0;
        do {
            if (!file->Read(buffer.data(), block, &got)) {
                outcomes.push_back(-1);
                return outcomes;
            }
            outcomes.push_back(static_cast<int>(got));
        } while (got == block);
        return outcomes;
    }

    AcceptingRegistry m_registry;
    AcceptingShell m_shell;
    posixplat::PosixSystemText m_text;
    posixplat::PosixMemory m_memory;
    std::unique_ptr<plat::Platform> m_real;
    std::unique_ptr<FaultPlatform> m_faults;
};

TEST_F(FaultPlatformTest, NothingPlannedPassesEverythingThrough) {
    Faults();
    HostFile("a.dat", 10);
    EXPECT_EQ(ReadAll("C:\\a.dat", 4), (std::vector<int>{4, 4, 2}));
    EXPECT_TRUE(faultFs().CreateFolder("C:\\New"));
    EXPECT_EQ(faultFs().LogicalDriveStrings(), fs().LogicalDriveStrings());
    EXPECT_EQ(counters().reads, 3);
    EXPECT_EQ(counters().foldersCreated, 1);
    EXPECT_EQ(counters().faultsInjected, 0);
}

TEST_F(FaultPlatformTest, TheNthReadFailsOnce) {
    Faults(Plan([](FaultPlan& p) { p.failReadNumber = 2; }));
    HostFile("a.dat", 10);
    EXPECT_EQ(ReadAll("C:\\a.dat", 4), (std::vector<int>{4, -1}));
    EXPECT_EQ(ReadAll("C:\\a.dat", 4), (std::vector<int>{4, 4, 2}));  // counted over all files
    EXPECT_EQ(counters().reads, 5);
    EXPECT_EQ(counters().faultsInjected, 1);
}

TEST_F(FaultPlatformTest, TheNthWriteFails) {
    Faults(Plan([](FaultPlan& p) { p.failWriteNumber = 2; }));
    auto file = faultFs().OpenForWrite("C:\\out.dat");
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->Write("abc", 3));
    EXPECT_FALSE(file->Write("def", 3));
    EXPECT_TRUE(file->Write("ghi", 3));
    file.reset();
    EXPECT_EQ(testsupport::ReadHostFile(DriveC() + "/out.dat"), "abcghi");
    EXPECT_EQ(counters().writes, 3);
    EXPECT_EQ(counters().bytesWritten, 6u);
}

TEST_F(FaultPlatformTest, AFullDiskRefusesWritesPastTheLimitAndWritesNothing) {
    Faults(Plan([](FaultPlan& p) { p.diskFullAfterBytes = 10; }));
    auto file = faultFs().OpenForWrite("C:\\out.dat");
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->Write("123456", 6));
    EXPECT_FALSE(file->Write("78901", 5));  // would reach 11
    EXPECT_TRUE(file->Write("7890", 4));    // exactly 10
    EXPECT_FALSE(file->Write("x", 1));
    EXPECT_TRUE(file->Write("", 0));
    file.reset();
    EXPECT_EQ(testsupport::ReadHostFile(DriveC() + "/out.dat"), "1234567890");
    EXPECT_EQ(counters().bytesWritten, 10u);
    EXPECT_EQ(counters().faultsInjected, 2);
}

TEST_F(FaultPlatformTest, AFileNamedToFailReadsOneBlockThenFails) {
    Faults(Plan([](FaultPlan& p) { p.failReadName = "koe_00.dat"; }));
    HostFile("KOE/KOE_00.DAT", 10);
    HostFile("KOE/small/KOE_00.DAT", 4);
    HostFile("KOE/KOE_00.DAT.BAK", 10);
    HostFile("KOE_00.DAT/inner.dat", 10);
    EXPECT_EQ(ReadAll("C:\\KOE\\KOE_00.DAT", 4), (std::vector<int>{4, -1}));
    EXPECT_EQ(ReadAll("C:\\KOE\\small\\KOE_00.DAT", 4), (std::vector<int>{-1}));  // one block: at once
    EXPECT_EQ(ReadAll("C:\\KOE\\small\\KOE_00.DAT", 8), (std::vector<int>{-1}));
    EXPECT_EQ(ReadAll("C:\\KOE\\KOE_00.DAT.BAK", 4), (std::vector<int>{4, 4, 2}));
    EXPECT_EQ(ReadAll("C:\\KOE_00.DAT\\inner.dat", 4), (std::vector<int>{4, 4, 2}));
    EXPECT_EQ(counters().faultsInjected, 3);
}

TEST_F(FaultPlatformTest, FolderCreationFailsByNumberOrByName) {
    Faults(Plan([](FaultPlan& p) { p.failCreateFolderNumber = 2; p.failCreateFolderName = "KOE"; }));
    EXPECT_TRUE(faultFs().CreateFolder("C:\\A"));
    EXPECT_FALSE(faultFs().CreateFolder("C:\\B"));
    EXPECT_TRUE(faultFs().CreateFolder("C:\\C"));
    EXPECT_FALSE(faultFs().CreateFolder("C:\\A\\koe\\"));
    EXPECT_TRUE(faultFs().CreateFolder("C:\\A\\KOE2"));
    EXPECT_EQ(testsupport::ListHostFolder(DriveC()), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(counters().folderCreations, 5);
    EXPECT_EQ(counters().foldersCreated, 3);
    EXPECT_EQ(counters().faultsInjected, 2);
}

TEST_F(FaultPlatformTest, LargeAllocationsFailAndLiveBlocksAreCounted) {
    FaultPlatform& faults = Faults(Plan([](FaultPlan& p) { p.failAllocationAtOrAbove = std::size_t{1} << 20; }));
    plat::Memory& memory = faults.platform().memory;
    EXPECT_EQ(memory.Allocate(2 << 20), nullptr);
    EXPECT_EQ(memory.Allocate(1 << 20), nullptr);
    void* block = memory.Allocate(512 << 10);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(counters().lastAllocationSize, std::size_t{512} << 10);
    EXPECT_EQ(counters().liveAllocations, 1);
    memory.Release(block);
    EXPECT_EQ(counters().liveAllocations, 0);
    EXPECT_EQ(counters().largestLiveAllocation, std::size_t{512} << 10);
    EXPECT_EQ(counters().faultsInjected, 2);
}

TEST_F(FaultPlatformTest, LinkSavesFailWhilePlanned) {
    FaultPlatform& faults = Faults(Plan([](FaultPlan& p) { p.failLinkSave = true; }));
    auto link = faults.platform().shell.CreateLink();
    ASSERT_TRUE(link);
    EXPECT_FALSE(link->Save(u"C:\\a.lnk"));
    EXPECT_EQ(m_shell.saves, 0);
    faults.plan().failLinkSave = false;  // the plan is read at each call
    EXPECT_TRUE(link->Save(u"C:\\a.lnk"));
    EXPECT_EQ(m_shell.saves, 1);
    EXPECT_EQ(counters().linksSaved, 1);
}

TEST_F(FaultPlatformTest, TheNthRegistrySetIsDenied) {
    FaultPlatform& faults = Faults(Plan([](FaultPlan& p) { p.failRegistrySetNumber = 2; }));
    plat::Registry& registry = faults.platform().registry;
    const unsigned char data[4] = {1, 0, 0, 0};
    EXPECT_EQ(registry.SetValue(1, "one", plat::kRegDword, data, 4), plat::kErrorSuccess);
    EXPECT_EQ(registry.SetValue(1, "two", plat::kRegDword, data, 4), plat::kErrorAccessDenied);
    EXPECT_EQ(registry.SetValue(1, "three", plat::kRegDword, data, 4), plat::kErrorSuccess);
    EXPECT_EQ(m_registry.valuesSet, (std::vector<std::string>{"one", "three"}));
    EXPECT_EQ(counters().registrySets, 3);
}

TEST_F(FaultPlatformTest, FreeBytesPerDrive) {
    Faults(Plan([](FaultPlan& p) { p.freeBytes = {{'Q', 123}}; }));
    std::uint64_t free = 0;
    ASSERT_TRUE(faultFs().GetFreeBytes("q:\\", &free));
    EXPECT_EQ(free, 123u);
    std::uint64_t real = 0;
    ASSERT_TRUE(fs().GetFreeBytes("C:\\", &real));
    ASSERT_TRUE(faultFs().GetFreeBytes("C:\\", &free));
    EXPECT_NE(free, 123u);
    EXPECT_FALSE(faultFs().GetFreeBytes("D:\\", &free));
}

TEST(FaultNameMatch, StepsOverDoubleByteCharactersOfCodePage932) {
    // "表" is 0x95 0x5C: its trail byte is a backslash in ASCII.
    const std::string table = "\x95\x5C";
    const struct {
        plat::CodePage codePage;
        std::string path;
        std::string name;
        bool equal;
    } cases[] = {
        {plat::kCodePage932, "C:\\DIR\\" + table + "A.DAT", table + "a.dat", true},
        {plat::kCodePage932, "C:\\DIR\\" + table + "A.DAT", "A.DAT", false},
        {plat::kCodePage932, "C:\\DIR\\" + table, table, true},
        {plat::kCodePage932, "C:\\DIR\\\x82\x61", "\x82\x41", false},  // trail bytes keep their case
        {plat::kCodePageUtf8, "C:\\DIR\\Koe_00.Dat\\\\", "KOE_00.DAT", true},
        {plat::kCodePageUtf8, "KOE", "koe", true},
        {plat::kCodePageUtf8, "C:\\KOE\\", "KO", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(testsupport::LastComponentEquals(c.codePage, c.path, c.name), c.equal) << c.path << " / " << c.name;
    }
}

}  // namespace
