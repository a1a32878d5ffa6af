#include "platform/fault/fault_platform.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/fault/fault_name_match.h"
#include "platform/posix/posix_memory.h"
#include "platform/posix/posix_system_errors.h"
#include "platform/posix/codepage/posix_system_text.h"
#include "tests/support/posix_fs_fixture.h"
#include "tests/support/fixtures/host_files.h"

namespace {

using faultplat::Bit;
using faultplat::Countdown;
using faultplat::FaultPlan;
using faultplat::FaultPlatform;
using faultplat::Op;

// Registry and shell stand-ins that accept everything and remember what reached them.
class AcceptingRegistry : public plat::Registry {
public:
    plat::RegResult CreateKey(plat::RegKeyHandle, const std::string& subKey, plat::RegKeyHandle* key) override {
        calls.push_back("create " + subKey);
        *key = ++m_lastHandle;
        return plat::kErrorSuccess;
    }
    plat::RegResult OpenKey(plat::RegKeyHandle, const std::string& subKey, std::uint32_t,
                            plat::RegKeyHandle* key) override {
        calls.push_back("open " + subKey);
        *key = ++m_lastHandle;
        return plat::kErrorSuccess;
    }
    plat::RegResult EnumKey(plat::RegKeyHandle, std::uint32_t, char*, std::uint32_t*) override {
        calls.push_back("list");
        return plat::kErrorNoMoreItems;
    }
    plat::RegResult EnumValue(plat::RegKeyHandle, std::uint32_t, char*, std::uint32_t*) override {
        calls.push_back("list values");
        return plat::kErrorNoMoreItems;
    }
    plat::RegResult QueryValue(plat::RegKeyHandle, const std::string& name, std::uint32_t*, unsigned char*,
                               std::uint32_t*) override {
        calls.push_back("query " + name);
        return plat::kErrorFileNotFound;
    }
    plat::RegResult SetValue(plat::RegKeyHandle, const std::string& name, std::uint32_t, const unsigned char*,
                             std::uint32_t) override {
        calls.push_back("set " + name);
        return plat::kErrorSuccess;
    }
    plat::RegResult DeleteKey(plat::RegKeyHandle, const std::string& subKey) override {
        calls.push_back("delete " + subKey);
        return plat::kErrorSuccess;
    }
    plat::RegResult CloseKey(plat::RegKeyHandle) override { return plat::kErrorSuccess; }

    std::vector<std::string> calls;

private:
    plat::RegKeyHandle m_lastHandle = 0x100;
};

class AcceptingShell : public plat::Shell {
public:
    bool InitializeComponents() override { return true; }
    std::unique_ptr<plat::ShellLink> CreateLink() override {
        ++created;
        return std::make_unique<Link>(*this);
    }
    int created = 0;
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
        m_real = std::make_unique<plat::Platform>(plat::Platform{fs(), m_registry, m_shell, m_text, m_memory, m_errors});
        m_faults = std::make_unique<FaultPlatform>(*m_real, std::move(plan));
        return *m_faults;
    }
    plat::FileSystem& faultFs() { return m_faults->platform().fileSystem; }
    plat::Registry& faultRegistry() { return m_faults->platform().registry; }
    const faultplat::FaultCounters& counters() { return m_faults->counters(); }
    const faultplat::FaultTrace& trace() { return m_faults->trace(); }

    void HostFile(const std::string& relative, std::size_t size) {
        ASSERT_TRUE(testsupport::WriteHostFile(DriveC() + "/" + relative, std::string(size, 'x')));
    }

    // Reads blocks of `block` bytes until the end or the first failure; returns how
    // many bytes each read got, -1 for one that failed.
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

    // Opens C:\r.dat and reads one byte `count` times: true for each read that succeeded.
    std::vector<bool> Reads(int count) {
        std::vector<bool> outcomes;
        auto file = faultFs().OpenForRead("C:\\r.dat");
        char byte = 0;
        std::size_t got = 0;
        for (int i = 0; i < count; ++i) outcomes.push_back(file && file->Read(&byte, 1, &got));
        return outcomes;
    }

    AcceptingRegistry m_registry;
    AcceptingShell m_shell;
    posixplat::PosixSystemText m_text;
    posixplat::PosixMemory m_memory;
    posixplat::PosixSystemErrors m_errors;
    std::unique_ptr<plat::Platform> m_real;
    std::unique_ptr<FaultPlatform> m_faults;
};

TEST_F(FaultPlatformTest, NothingPlannedPassesEverythingThrough) {
    Faults();
    HostFile("a.dat", 10);
    EXPECT_EQ(ReadAll("C:\\a.dat", 4), (std::vector<int>{4, 4, 2}));
    EXPECT_TRUE(faultFs().CreateFolder("C:\\New"));
    EXPECT_EQ(faultFs().LogicalDriveStrings(), fs().LogicalDriveStrings());
    EXPECT_EQ(counters().Calls(Op::Read), 3);
    EXPECT_EQ(counters().Calls(Op::Open), 1);
    EXPECT_EQ(counters().Calls(Bit(Op::Read) | Bit(Op::Open) | Bit(Op::CreateFolder)), 5);
    EXPECT_EQ(counters().foldersCreated, 1);
    EXPECT_EQ(counters().faultsInjected, 0);
    EXPECT_TRUE(trace().failures.empty());
}

TEST_F(FaultPlatformTest, CountdownsCountFromWhenTheyAreSet) {
    HostFile("r.dat", 100);
    const struct {
        const char* name;
        int readsBefore;  // reads made before the countdown is set
        Countdown countdown;
        std::vector<bool> outcomes;
    } cases[] = {
        {"transient: the nth read fails once", 0, Countdown::Nth(Op::Read, 2), {true, false, true, true}},
        {"persistent: from the nth read on", 0, Countdown::Nth(Op::Read, 2, true), {true, false, false, false}},
        {"earlier reads do not count", 5, Countdown::Nth(Op::Read, 1), {false, true, true, true}},
        {"other kinds do not count", 0, Countdown::Nth(Op::Write, 1, true), {true, true, true, true}},
        {"a mask takes each of its kinds", 0, Countdown::Nth(Bit(Op::Open) | Bit(Op::Read), 3), {true, false, true, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Faults();
        Reads(c.readsBefore);
        m_faults->plan().countdowns = {c.countdown};
        EXPECT_EQ(Reads(4), c.outcomes);
        EXPECT_EQ(m_faults->plan().countdowns[0].fired, c.outcomes != std::vector<bool>(4, true));
    }
}

// Every kind a sweep counts fails at its own call, without the real system being asked.
TEST_F(FaultPlatformTest, EveryKindOfOperationFailsThroughItsCall) {
    HostFile("in.dat", 10);
    HostFile("gone.dat", 10);
    ASSERT_TRUE(testsupport::WriteHostFile(DriveC() + "/Folder/keep.dat", "k"));
    const unsigned char data[4] = {1, 0, 0, 0};
    const struct {
        Op op;
        std::string target;
        std::function<bool(plat::Platform&)> call;  // true when the call succeeded
    } cases[] = {
        {Op::Open, "C:\\in.dat", [](plat::Platform& p) { return p.fileSystem.OpenForRead("C:\\in.dat") != nullptr; }},
        {Op::Open, "C:\\new.dat", [](plat::Platform& p) { return p.fileSystem.OpenForWrite("C:\\new.dat") != nullptr; }},
        {Op::Read, "C:\\in.dat",
         [](plat::Platform& p) {
             char buffer[4];
             std::size_t got = 0;
             auto file = p.fileSystem.OpenForRead("C:\\in.dat");
             return file && file->Read(buffer, 4, &got);
         }},
        {Op::Write, "C:\\out.dat",
         [](plat::Platform& p) {
             auto file = p.fileSystem.OpenForWrite("C:\\out.dat");
             return file && file->Write("abc", 3);
         }},
        {Op::Status, "C:\\in.dat", [](plat::Platform& p) { return p.fileSystem.Exists("C:\\in.dat"); }},
        {Op::Status, "C:\\in.dat",
         [](plat::Platform& p) {
             plat::FileStatus status;
             return p.fileSystem.GetStatus("C:\\in.dat", &status);
         }},
        {Op::Status, "C:\\in.dat",
         [](plat::Platform& p) {
             plat::FileStatus status;
             auto file = p.fileSystem.OpenForRead("C:\\in.dat");
             return file && file->GetStatus(&status);
         }},
        {Op::Status, "C:\\in.dat",
         [](plat::Platform& p) { return p.fileSystem.SetStatus("C:\\in.dat", plat::FileStatus{}); }},
        {Op::CreateFolder, "C:\\New", [](plat::Platform& p) { return p.fileSystem.CreateFolder("C:\\New"); }},
        {Op::Delete, "C:\\gone.dat", [](plat::Platform& p) { return p.fileSystem.RemoveFile("C:\\gone.dat"); }},
        {Op::Delete, "C:\\Folder", [](plat::Platform& p) { return p.fileSystem.RemoveFolder("C:\\Folder"); }},
        {Op::List, "C:\\Folder\\*.*",
         [](plat::Platform& p) { return p.fileSystem.Enumerate("C:\\Folder\\*.*") != nullptr; }},
        {Op::RegistryCreate, "Software\\A",
         [](plat::Platform& p) {
             plat::RegKeyHandle key = 0;
             return p.registry.CreateKey(plat::kHkeyCurrentUser, "Software\\A", &key) == plat::kErrorSuccess;
         }},
        {Op::RegistryOpen, "Software\\A",
         [](plat::Platform& p) {
             plat::RegKeyHandle key = 0;
             return p.registry.OpenKey(plat::kHkeyCurrentUser, "Software\\A", plat::kKeyRead, &key) ==
                    plat::kErrorSuccess;
         }},
        {Op::RegistryList, "?",
         [](plat::Platform& p) {
             char name[8];
             std::uint32_t size = sizeof name;
             return p.registry.EnumKey(0x55, 0, name, &size) != plat::kErrorAccessDenied;
         }},
        {Op::RegistryQuery, "?\\V",
         [](plat::Platform& p) {
             std::uint32_t type = 0, size = 0;
             return p.registry.QueryValue(0x55, "V", &type, nullptr, &size) != plat::kErrorAccessDenied;
         }},
        {Op::RegistrySet, "?\\V",
         [&](plat::Platform& p) {
             return p.registry.SetValue(0x55, "V", plat::kRegDword, data, 4) == plat::kErrorSuccess;
         }},
        {Op::RegistryDelete, "Software\\A",
         [](plat::Platform& p) {
             return p.registry.DeleteKey(plat::kHkeyCurrentUser, "Software\\A") == plat::kErrorSuccess;
         }},
        {Op::LinkCreate, "", [](plat::Platform& p) { return p.shell.CreateLink() != nullptr; }},
        {Op::LinkSave, "C:\\ハルネア.lnk",
         [](plat::Platform& p) {
             auto link = p.shell.CreateLink();
             return link && link->Save(u"C:\\ハルネア.lnk");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(faultplat::OpName(c.op)) + " " + c.target);
        Faults(Plan([&](FaultPlan& p) { p.countdowns = {Countdown::Nth(c.op, 1)}; }));
        m_registry.calls.clear();
        const int savesBefore = m_shell.saves;
        EXPECT_FALSE(c.call(m_faults->platform()));
        ASSERT_EQ(trace().failures.size(), 1u);
        EXPECT_EQ(trace().failures[0].op, c.op);
        EXPECT_EQ(trace().failures[0].target, c.target);
        EXPECT_EQ(counters().Calls(c.op), 1);
        // What failed never reached the real system.
        EXPECT_TRUE(m_registry.calls.empty());
        EXPECT_EQ(m_shell.saves, savesBefore);
    }
    EXPECT_TRUE(testsupport::HostFileExists(DriveC() + "/gone.dat"));
    EXPECT_TRUE(testsupport::HostFolderExists(DriveC() + "/Folder"));
    EXPECT_FALSE(testsupport::HostFolderExists(DriveC() + "/New"));
    EXPECT_FALSE(testsupport::HostFileExists(DriveC() + "/new.dat"));
}

TEST_F(FaultPlatformTest, RecordedOperationsListEveryCountedCallInOrder) {
    Faults(Plan([](FaultPlan& p) {
        p.recordOperations = true;
        p.countdowns = {Countdown::Nth(faultplat::kAllOps, 3)};
    }));
    HostFile("a.dat", 10);
    faultFs().Exists("C:\\a.dat");
    ReadAll("C:\\a.dat", 64);
    faultFs().CreateFolder("C:\\B");
    const std::vector<faultplat::OperationRecord>& ops = trace().operations;
    ASSERT_EQ(ops.size(), 4u);
    EXPECT_EQ(ops[0].op, Op::Status);
    EXPECT_EQ(ops[1].op, Op::Open);
    EXPECT_EQ(ops[2].op, Op::Read);
    EXPECT_TRUE(ops[2].failed);
    EXPECT_EQ(ops[3].op, Op::CreateFolder);
    EXPECT_EQ(ops[3].target, "C:\\B");
    EXPECT_FALSE(ops[3].failed);
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

TEST_F(FaultPlatformTest, FolderCreationFailsByCountdownOrByName) {
    Faults(Plan([](FaultPlan& p) {
        p.countdowns = {Countdown::Nth(Op::CreateFolder, 2)};
        p.failCreateFolderName = "KOE";
    }));
    EXPECT_TRUE(faultFs().CreateFolder("C:\\A"));
    EXPECT_FALSE(faultFs().CreateFolder("C:\\B"));
    EXPECT_TRUE(faultFs().CreateFolder("C:\\C"));
    EXPECT_FALSE(faultFs().CreateFolder("C:\\A\\koe\\"));
    EXPECT_TRUE(faultFs().CreateFolder("C:\\A\\KOE2"));
    EXPECT_EQ(testsupport::ListHostFolder(DriveC()), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(counters().Calls(Op::CreateFolder), 5);
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

TEST_F(FaultPlatformTest, LinksAreRecordedAndFailWhilePlanned) {
    FaultPlatform& faults = Faults(Plan([](FaultPlan& p) { p.failLinkSave = true; }));
    auto link = faults.platform().shell.CreateLink();
    ASSERT_TRUE(link);
    link->SetPath("C:\\Game\\GAME.EXE");
    link->ClearArguments();
    link->SetWorkingDirectory("C:\\Game");
    EXPECT_FALSE(link->Save(u"C:\\a.lnk"));
    EXPECT_EQ(m_shell.saves, 0);
    faults.plan().failLinkSave = false;  // the plan is read at each call
    EXPECT_TRUE(link->Save(u"C:\\a.lnk"));
    EXPECT_EQ(m_shell.saves, 1);
    EXPECT_EQ(counters().linksSaved, 1);
    ASSERT_EQ(trace().links.size(), 1u);
    EXPECT_EQ(trace().links[0].path, "C:\\Game\\GAME.EXE");
    EXPECT_TRUE(trace().links[0].argumentsCleared);
    EXPECT_EQ(trace().links[0].workingDirectory, "C:\\Game");
    EXPECT_EQ(trace().links[0].saves, (std::vector<std::u16string>{u"C:\\a.lnk", u"C:\\a.lnk"}));

    faults.plan().linkUnavailable = true;
    EXPECT_EQ(faults.platform().shell.CreateLink(), nullptr);
    EXPECT_EQ(m_shell.created, 1);
}

TEST_F(FaultPlatformTest, RegistryKeysFailByPathAndAreTracedByTheirPath) {
    FaultPlatform& faults = Faults(Plan([](FaultPlan& p) {
        p.failRegistryOpen = {"Software\\Locked"};
        p.failRegistryDelete = {"Software\\Kept"};
        p.failRegistryListFrom = {{"Software", 1}};
    }));
    plat::Registry& registry = faultRegistry();
    plat::RegKeyHandle software = 0, locked = 0, created = 0;
    EXPECT_EQ(registry.OpenKey(plat::kHkeyCurrentUser, "Software\\Locked", plat::kKeyRead, &locked),
              plat::kErrorAccessDenied);
    ASSERT_EQ(registry.OpenKey(plat::kHkeyCurrentUser, "Software", plat::kKeyRead, &software), plat::kErrorSuccess);
    ASSERT_EQ(registry.CreateKey(plat::kHkeyCurrentUser, "Software\\New", &created), plat::kErrorSuccess);
    EXPECT_EQ(counters().openRegistryKeys, 2);
    char name[16];
    std::uint32_t size = sizeof name;
    EXPECT_EQ(registry.EnumKey(software, 0, name, &size), plat::kErrorNoMoreItems);  // the real answer
    EXPECT_EQ(registry.EnumKey(software, 1, name, &size), plat::kErrorAccessDenied);
    EXPECT_EQ(registry.DeleteKey(plat::kHkeyCurrentUser, "Software\\Kept"), plat::kErrorAccessDenied);
    EXPECT_EQ(registry.DeleteKey(plat::kHkeyCurrentUser, "Software\\New"), plat::kErrorSuccess);
    registry.CloseKey(software);
    registry.CloseKey(created);
    EXPECT_EQ(counters().openRegistryKeys, 0);
    EXPECT_EQ(faults.trace().registryLog, (std::vector<std::string>{"list Software", "list Software",
                                                                     "delete Software\\Kept", "delete Software\\New"}));
    EXPECT_EQ(m_registry.calls, (std::vector<std::string>{"open Software", "create Software\\New", "list",
                                                           "delete Software\\New"}));
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
        EXPECT_EQ(faultplat::LastComponentEquals(c.codePage, c.path, c.name), c.equal) << c.path << " / " << c.name;
    }
}

}  // namespace
