// Links planted at the store's own lock and temporary files must never lead a change to
// a file outside the registry folder: the decoys they point at stay byte for byte as
// they were, and no file appears beside them.
#include <sys/stat.h>
#include <unistd.h>

#include <map>

#include "tests/posix/registry/registry_test_support.h"

namespace {

using namespace regtest;
using plat::RegKeyHandle;
using plat::RegResult;

std::map<std::string, std::string> FolderContents(const std::string& folder) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        contents[entry.path().filename().string()] = ReadFile(entry.path().string());
    }
    return contents;
}

struct PlantedLink {
    const char* at;        // suffix of the hive's file name
    const char* leadsTo;   // name in the decoy folder
    RegResult change;      // what a change of the hive gives
};

const PlantedLink kPlantedLinks[] = {
    {".reg.tmp", "kept.bin", plat::kErrorSuccess},
    {".reg.tmp", "absent.bin", plat::kErrorSuccess},
    // A lock reached through a link could be another inode than the one the next
    // process locks: no change is made at all.
    {".reg.lock", "kept.bin", posixplat::kErrorRegistryIoFailed},
    {".reg.lock", "absent.bin", posixplat::kErrorRegistryIoFailed},
};

void PrintTo(const PlantedLink& link, std::ostream* out) { *out << link.at << " -> " << link.leadsTo; }

class StoreLinks : public ::testing::TestWithParam<PlantedLink> {};

TEST_P(StoreLinks, LeaveTheFilesOutsideAlone) {
    const PlantedLink planted = GetParam();
    TempFolder root;
    TempFolder decoy;
    const std::string folder = root.path() + "/registry";
    std::filesystem::create_directories(folder);
    WriteFile(decoy.path() + "/kept.bin", std::string("decoy\0\xff bytes\n", 14));
    const auto before = FolderContents(decoy.path());
    const std::string hive = folder + "/HKEY_LOCAL_MACHINE.reg";
    ASSERT_EQ(::symlink((decoy.path() + "/" + planted.leadsTo).c_str(), (hive.substr(0, hive.size() - 4) + planted.at).c_str()), 0);

    posixplat::PosixRegistry registry(folder, "tester");
    RegKeyHandle key = plat::kNullKey;
    EXPECT_EQ(registry.CreateKey(plat::kHkeyLocalMachine, "Software\\Kept", &key), planted.change);
    if (planted.change == plat::kErrorSuccess) {
        EXPECT_EQ(SetString(registry, key, "Value", "written"), plat::kErrorSuccess);
        EXPECT_EQ(Query(registry, key, "Value").bytes, std::string("written\0", 8));
        EXPECT_NE(ReadFile(hive).find("\"Value\"=\"written\""), std::string::npos);
        registry.CloseKey(key);
    } else {
        EXPECT_FALSE(std::filesystem::exists(hive));
    }
    EXPECT_EQ(FolderContents(decoy.path()), before);
}

INSTANTIATE_TEST_SUITE_P(AtTheLockAndTheTemporaryFile, StoreLinks, ::testing::ValuesIn(kPlantedLinks),
                         [](const auto& info) {
                             const std::string at = info.param.at;
                             return (at == ".reg.tmp" ? std::string("Temporary") : std::string("Lock")) + "To" +
                                    (std::string(info.param.leadsTo) == "kept.bin" ? "File" : "Nothing");
                         });

}  // namespace
