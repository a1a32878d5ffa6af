#include "platform/fault/fault_errors.h"

namespace faultplat {
namespace {

// Code 0: no system error stands behind an injected fault, and the text says so.
plat::SystemError Describe(const FaultState::InjectedFault& fault) {
    if (fault.byCountdown) return {0, std::string("injected fault: countdown on ") + OpName(fault.op)};
    switch (fault.op) {
    case Op::Read:
        return {0, "injected fault: read error"};
    case Op::Write:
        return {0, "injected fault: disk full"};
    case Op::CreateFolder:
        return {0, "injected fault: folder refused"};
    case Op::LinkCreate:
        return {0, "injected fault: no link object"};
    case Op::LinkSave:
        return {0, "injected fault: link not saved"};
    case Op::RegistryOpen:
    case Op::RegistryList:
    case Op::RegistryDelete:
        return {0, "injected fault: access denied"};
    default:
        return {0, std::string("injected fault on ") + OpName(fault.op)};
    }
}

}  // namespace

FaultErrors::FaultErrors(plat::SystemErrors& real, FaultState& state) : m_real(real), m_state(state) {}

std::optional<plat::SystemError> FaultErrors::TakeInjected() {
    if (!m_state.injected) return std::nullopt;
    const FaultState::InjectedFault fault = *m_state.injected;
    m_state.injected.reset();
    return Describe(fault);
}

plat::SystemError FaultErrors::LastError() {
    if (std::optional<plat::SystemError> injected = TakeInjected()) return *injected;
    return m_real.LastError();
}

plat::SystemError FaultErrors::RegistryError(plat::RegResult result) {
    if (std::optional<plat::SystemError> injected = TakeInjected()) return *injected;
    return m_real.RegistryError(result);
}

}  // namespace faultplat
