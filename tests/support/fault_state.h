#pragma once
// What the fault wrappers share: the plan, the counters and the name matching the plan
// uses. Private to the fault platform.
#include <string>

#include "platform/text.h"
#include "tests/support/fault_platform.h"

namespace testsupport {

struct FaultState {
    FaultPlan plan;
    FaultCounters counters;
    plat::CodePage codePage = plat::kCodePageUtf8;

    // Counts a fault the plan made and returns false, the failing call's result.
    bool Inject() {
        ++counters.faultsInjected;
        return false;
    }
};

// True when the last component of `path` (trailing separators ignored) equals `name`,
// ignoring the case of ASCII letters; double-byte characters of code page 932 are
// stepped over whole, so a trail byte is neither a separator nor a letter.
bool LastComponentEquals(plat::CodePage codePage, const std::string& path, const std::string& name);

}  // namespace testsupport
