#pragma once
// Wraps a real platform and makes chosen calls fail, the way a scratched disc, a full
// disk or a starved heap would. Everything not named in the plan passes through.
//
// The plan is read at each call, so a test may change it between steps through plan().
// Builds for both platforms: it uses nothing but the platform interfaces.
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace testsupport {

struct FaultPlan {
    // The Nth read or write (1-based, counted over all files) fails; 0 never.
    int failReadNumber = 0;
    int failWriteNumber = 0;
    // Writes fail once this many bytes in all have been written: a write that would go
    // past the limit fails and writes nothing.
    std::optional<std::uint64_t> diskFullAfterBytes;
    // Reading a file whose last path component equals this (ignoring case) fails after
    // its first block, or at once for a file of one block or less. Empty: never.
    // "One block" is the size the first read asks for.
    std::string failReadName;
    // The Nth folder creation (1-based) fails; 0 never. With failCreateFolderName set,
    // creating a folder whose last component equals it (ignoring case) fails.
    int failCreateFolderNumber = 0;
    std::string failCreateFolderName;
    // Allocations of this size or more fail.
    std::optional<std::size_t> failAllocationAtOrAbove;
    // Saving a shell link fails.
    bool failLinkSave = false;
    // Setting a registry value fails (the Nth set, 1-based; 0 never) with access denied.
    int failRegistrySetNumber = 0;
    // Free bytes reported per drive letter (upper case).
    std::map<char, std::uint64_t> freeBytes;
};

// Counts of what passed through, for tests that check what was attempted.
struct FaultCounters {
    int reads = 0;                        // read calls, failed ones included
    int writes = 0;                       // write calls, failed ones included
    std::uint64_t bytesWritten = 0;       // bytes the real file system accepted
    int foldersCreated = 0;               // folders actually created
    int folderCreations = 0;              // folder creation calls, failed ones included
    std::size_t lastAllocationSize = 0;   // size asked for by the last allocation
    std::size_t largestLiveAllocation = 0;  // largest block ever handed out
    int liveAllocations = 0;              // blocks handed out and not yet released
    int linksSaved = 0;                   // links actually saved
    int registrySets = 0;                 // registry value sets, failed ones included
    int faultsInjected = 0;               // calls the plan made fail
};

class FaultPlatform {
public:
    FaultPlatform(plat::Platform& real, FaultPlan plan);
    ~FaultPlatform();
    FaultPlatform(const FaultPlatform&) = delete;
    FaultPlatform& operator=(const FaultPlatform&) = delete;

    plat::Platform& platform();
    FaultPlan& plan();
    const FaultCounters& counters() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace testsupport
