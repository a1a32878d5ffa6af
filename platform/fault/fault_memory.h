#pragma once
// The memory wrapper of the fault platform: large blocks refused as the plan says, and
// the blocks handed out counted. Private to the fault platform.
#include <map>

#include "platform/fault/fault_state.h"
#include "platform/memory.h"

namespace faultplat {

class FaultMemory : public plat::Memory {
public:
    FaultMemory(plat::Memory& real, FaultState& state);
    void* Allocate(std::size_t size) override;
    void Release(void* block) override;

private:
    plat::Memory& m_real;
    FaultState& m_state;
    std::map<void*, std::size_t> m_live;
};

}  // namespace faultplat
