#pragma once
// What passed through the fault platform: counts for tests that check what was
// attempted, and a trace of what failed, what the core asked of the registry and what
// it did with each link object.
#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/fault/fault_operation.h"

namespace faultplat {

struct FaultCounters {
    std::array<int, kOpCount> calls{};    // counted operations by kind, failed ones included
    std::uint64_t bytesWritten = 0;       // bytes the real file system accepted
    int foldersCreated = 0;               // folders actually created
    std::size_t lastAllocationSize = 0;   // size asked for by the last allocation
    std::size_t largestLiveAllocation = 0;  // largest block ever handed out
    int liveAllocations = 0;              // blocks handed out and not yet released
    int linksSaved = 0;                   // links actually saved
    int openRegistryKeys = 0;             // keys opened or created and not yet closed
    int faultsInjected = 0;               // calls the plan made fail

    int Calls(Op op) const { return calls[static_cast<unsigned>(op)]; }
    int Calls(OpMask ops) const {
        int total = 0;
        for (unsigned kind = 0; kind < kOpCount; ++kind) {
            if (ops & (OpMask{1} << kind)) total += calls[kind];
        }
        return total;
    }
};

// One counted operation: its kind and what it was done to: a path in the system's code
// page, a registry sub-key path (value name after a backslash for a set) as the core
// passed it, or a link's file name in UTF-8.
struct OperationRecord {
    Op op;
    std::string target;
    bool failed = false;  // the plan made it fail
};

// What the core did with one link object.
struct LinkRecord {
    std::string path;
    bool argumentsCleared = false;
    std::string workingDirectory;
    std::vector<std::u16string> saves;
};

struct FaultTrace {
    std::vector<OperationRecord> failures;    // every operation the plan made fail
    std::vector<OperationRecord> operations;  // every counted one, with recordOperations
    // "list PATH" for each sub-key listing call, "delete PATH" for each key deletion,
    // PATH being the sub-key path the key was opened by.
    std::vector<std::string> registryLog;
    std::deque<LinkRecord> links;  // one per link object created, in order
};

}  // namespace faultplat
