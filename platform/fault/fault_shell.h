#pragma once
// The shell wrapper of the fault platform: link objects that cannot be made or saved as
// the plan says, and a record of what the core did with each one. Private to the fault
// platform.
#include "platform/fault/fault_state.h"
#include "platform/shell.h"

namespace faultplat {

class FaultShell : public plat::Shell {
public:
    FaultShell(plat::Shell& real, FaultState& state);
    bool InitializeComponents() override;
    std::unique_ptr<plat::ShellLink> CreateLink() override;

private:
    plat::Shell& m_real;
    FaultState& m_state;
};

}  // namespace faultplat
