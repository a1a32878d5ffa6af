#pragma once
// Wraps a real platform and makes chosen calls fail, the way a scratched disc, a full
// disk, a denied registry or a starved heap would; everything the plan does not name
// passes through. Tests and the scripted driver of either build use it: it needs
// nothing but the platform interfaces.
//
// The plan is read at each call, so a caller may change it between steps through plan();
// a countdown put into it counts from then on.
#include <memory>

#include "platform/fault/fault_counters.h"
#include "platform/fault/fault_plan.h"
#include "platform/platform.h"

namespace faultplat {

class FaultPlatform {
public:
    FaultPlatform(plat::Platform& real, FaultPlan plan = {});
    ~FaultPlatform();
    FaultPlatform(const FaultPlatform&) = delete;
    FaultPlatform& operator=(const FaultPlatform&) = delete;

    plat::Platform& platform();
    FaultPlan& plan();
    const FaultCounters& counters() const;
    const FaultTrace& trace() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace faultplat
