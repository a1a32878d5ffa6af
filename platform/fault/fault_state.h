#pragma once
// What the fault wrappers share: the plan, the counters and the trace, and the one place
// that decides whether a counted operation fails. Private to the fault platform.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/fault/fault_counters.h"
#include "platform/fault/fault_plan.h"
#include "platform/text.h"

namespace faultplat {

struct FaultState {
    FaultPlan plan;
    FaultCounters counters;
    FaultTrace trace;
    plat::CodePage codePage = plat::kCodePageUtf8;
    std::uint64_t operations = 0;  // counted operations of every kind

    // The fault the last counted operation was made to fail by, if it was: the error
    // the fault stands for is reported in place of the system's. Taken once.
    struct InjectedFault {
        Op op;
        bool byCountdown;
    };
    std::optional<InjectedFault> injected;

    // Counts one operation of kind `op` on `target` and runs the countdowns over it;
    // true when it is to fail (the fault is then counted and traced).
    bool Fails(Op op, const std::string& target);
    // For the plan's other faults: counts and traces a fault made at `target`, returns
    // false, the failing call's result.
    bool Inject(Op op, const std::string& target);
};

}  // namespace faultplat
