#include "platform/fault/fault_state.h"

namespace faultplat {

bool FaultState::Fails(Op op, const std::string& target) {
    injected.reset();
    if (plan.stopEvery != 0 && plan.stop && ++operations % plan.stopEvery == 0) plan.stop();
    ++counters.calls[static_cast<unsigned>(op)];
    bool fails = false;
    for (Countdown& countdown : plan.countdowns) {
        if ((countdown.ops & Bit(op)) == 0) continue;
        if (countdown.fired) {
            fails = fails || countdown.persistent;
        } else if (countdown.pass > 0) {
            --countdown.pass;
        } else {
            countdown.fired = true;
            fails = true;
        }
    }
    if (plan.recordOperations) trace.operations.push_back(OperationRecord{op, target, fails});
    if (fails) {
        Inject(op, target);
        injected->byCountdown = true;
    }
    return fails;
}

bool FaultState::Inject(Op op, const std::string& target) {
    ++counters.faultsInjected;
    trace.failures.push_back(OperationRecord{op, target, true});
    injected = InjectedFault{op, false};
    return false;
}

}  // namespace faultplat
