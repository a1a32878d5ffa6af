// The registry keeps a parsed hive between calls. Whatever another process does to the
// file (rewrite it in place at the same size, put its times back, replace it with a file
// of the same size and times), the next call sees the change.
#include <fcntl.h>
#include <sys/stat.h>

#include <chrono>
#include <functional>
#include <thread>

#include "tests/posix/registry/registry_test_support.h"

namespace {

using namespace regtest;
using plat::RegKeyHandle;

const std::string kOld = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=\"1\"\n";
const std::string kNew = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=\"2\"\n";

bool SetModified(const std::string& path, const timespec& modified) {
    const timespec times[2] = {{0, UTIME_OMIT}, modified};
    return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

timespec ModifiedOf(const std::string& path) {
    struct stat status {};
    ::stat(path.c_str(), &status);
    return status.st_mtim;
}

struct OutsideEdit {
    const char* what;
    bool settledFirst;  // the file's times were long past when the registry read it
    std::function<void(const std::string& hive)> edit;
};

const OutsideEdit kEdits[] = {
    {"rewritten in place at the same size", true, [](const std::string& hive) { WriteFile(hive, kNew); }},
    {"rewritten in place, its time put back", true,
     [](const std::string& hive) {
         const timespec old = ModifiedOf(hive);
         WriteFile(hive, kNew);
         SetModified(hive, old);
     }},
    {"replaced by a file of the same size and time", true,
     [](const std::string& hive) {
         WriteFile(hive + ".new", kNew);
         SetModified(hive + ".new", ModifiedOf(hive));
         std::filesystem::rename(hive + ".new", hive);
     }},
    // Kernels that stamp times from a coarse clock (Debian 12's 6.1) give this rewrite
    // the times of the file the registry read; newer ones stamp it finer.
    {"rewritten in place within the clock tick of the registry's read", false,
     [](const std::string& hive) { WriteFile(hive, kNew); }},
};

void PrintTo(const OutsideEdit& edit, std::ostream* out) { *out << edit.what; }

class KeptHive : public ::testing::TestWithParam<OutsideEdit> {};

TEST_P(KeptHive, NeverHidesAChangeMadeOutside) {
    const OutsideEdit& edit = GetParam();
    TempFolder root;
    const std::string folder = root.path() + "/registry";
    const std::string hive = folder + "/HKEY_LOCAL_MACHINE.reg";
    std::filesystem::create_directories(folder);
    WriteFile(hive, kOld);
    if (edit.settledFirst) {
        ASSERT_TRUE(SetModified(hive, timespec{ModifiedOf(hive).tv_sec - 3600, 0}));
        // The change time cannot be put back: let it age past the file system's tick.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }

    posixplat::PosixRegistry registry(folder, "tester");
    RegKeyHandle key = MustOpen(registry, plat::kHkeyLocalMachine, "S", plat::kKeyRead);
    EXPECT_EQ(Query(registry, key, "A").bytes, std::string("1\0", 2));
    EXPECT_EQ(Query(registry, key, "A").bytes, std::string("1\0", 2));
    edit.edit(hive);
    ASSERT_EQ(ReadFile(hive), kNew);
    EXPECT_EQ(Query(registry, key, "A").bytes, std::string("2\0", 2));
    registry.CloseKey(key);
}

INSTANTIATE_TEST_SUITE_P(Edits, KeptHive, ::testing::ValuesIn(kEdits),
                         [](const auto& info) { return "Edit" + std::to_string(info.index); });

}  // namespace
