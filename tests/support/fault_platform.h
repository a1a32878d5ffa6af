#pragma once
// Wraps a real platform and makes chosen calls fail, the way a scratched disc, a full
// disk or a starved heap would. Everything not named in the plan passes through.
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
    std::string failReadName;
    // The Nth folder creation (1-based) fails; 0 never. With failCreateFolderName set,
    // creating a folder whose last component equals it (ignoring case) fails.
    int failCreateFolderNumber = 0;
    std::string failCreateFolderName;
    // Allocations of this size or more fail.
    std::optional<std::size_t> failAllocationAtOrAbove;
    // Saving a shell link fails.
    bool failLinkSave = false;
    // Setting a registry value fails (the Nth set, 1-based; 0 never).
    int failRegistrySetNumber = 0;
    // Free bytes reported per drive letter (upper case).
    std::map<char, std::uint64_t> freeBytes;
};

// Counts of what passed through, for tests that check what was attempted.
struct FaultCounters {
    int reads = 0;
    int writes = 0;
    std::uint64_t bytesWritten = 0;
    int foldersCreated = 0;
    std::size_t lastAllocationSize = 0;
    std::size_t largestLiveAllocation = 0;
    int linksSaved = 0;
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
