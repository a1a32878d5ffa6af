#pragma once
// The errors part of the fault platform: after a call the plan made fail, the fault it
// stands for (a full disk, a read error) in place of the system's error; otherwise the
// real platform's. Private to the fault platform.
#include <optional>

#include "platform/fault/fault_state.h"
#include "platform/system_error.h"

namespace faultplat {

class FaultErrors : public plat::SystemErrors {
public:
    FaultErrors(plat::SystemErrors& real, FaultState& state);
    plat::SystemError LastError() override;
    plat::SystemError RegistryError(plat::RegResult result) override;

private:
    std::optional<plat::SystemError> TakeInjected();

    plat::SystemErrors& m_real;
    FaultState& m_state;
};

}  // namespace faultplat
