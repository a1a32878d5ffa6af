#pragma once
// What the fault platform makes fail. The plan is read at each call, so a test may
// change it between steps; a countdown counts from the moment it is put into the plan.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/fault/fault_operation.h"

namespace faultplat {

// Operations of the kinds in `ops` count down: `pass` of them succeed, the next one
// fails, and so does every later one when the countdown is persistent (a disc gone, a
// dead disk); a transient one fails that one operation only.
struct Countdown {
    OpMask ops = 0;
    int pass = 0;
    bool persistent = false;
    bool fired = false;  // set by the platform when the countdown has reached its operation

    // The nth operation of those kinds from now (1-based) fails.
    static Countdown Nth(OpMask ops, int n, bool persistent = false) {
        return Countdown{ops, n > 0 ? n - 1 : 0, persistent, false};
    }
    static Countdown Nth(Op op, int n, bool persistent = false) { return Nth(Bit(op), n, persistent); }
};

struct FaultPlan {
    std::vector<Countdown> countdowns;

    // Writes fail once this many bytes in all have been written: a write that would go
    // past the limit fails and writes nothing.
    std::optional<std::uint64_t> diskFullAfterBytes;
    // Reading a file whose last path component equals this (ignoring case) fails after
    // its first block, or at once for a file of one block or less. Empty: never.
    // "One block" is the size the first read asks for.
    std::string failReadName;
    // Creating a folder whose last component equals this (ignoring case) fails.
    std::string failCreateFolderName;
    // Allocations of this size or more fail.
    std::optional<std::size_t> failAllocationAtOrAbove;
    // Saving a shell link fails; with linkUnavailable no link object can be made at all.
    bool failLinkSave = false;
    bool linkUnavailable = false;
    // Registry keys named by these sub-key paths, exactly as the core passes them, cannot
    // be opened or deleted (access denied).
    std::set<std::string> failRegistryOpen;
    std::set<std::string> failRegistryDelete;
    // Listing the sub-keys of the key opened by this path fails from this index on.
    std::map<std::string, std::uint32_t> failRegistryListFrom;
    // Free bytes reported per drive letter (upper case).
    std::map<char, std::uint64_t> freeBytes;
    // Keep every counted operation in the trace, not only the failed ones.
    bool recordOperations = false;
    // Called before every stopEvery-th counted operation: the driver stops its own
    // process there, so that a test can take what the disk holds at that moment.
    std::uint64_t stopEvery = 0;
    std::function<void()> stop;
};

}  // namespace faultplat
