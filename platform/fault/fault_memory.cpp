#include "platform/fault/fault_memory.h"

#include <algorithm>

namespace faultplat {

FaultMemory::FaultMemory(plat::Memory& real, FaultState& state) : m_real(real), m_state(state) {}

void* FaultMemory::Allocate(std::size_t size) {
    FaultCounters& counters = m_state.counters;
    counters.lastAllocationSize = size;
    if (m_state.plan.failAllocationAtOrAbove && size >= *m_state.plan.failAllocationAtOrAbove) {
        ++counters.faultsInjected;
        return nullptr;
    }
    void* block = m_real.Allocate(size);
    if (!block) return nullptr;
    m_live[block] = size;
    counters.liveAllocations = static_cast<int>(m_live.size());
    counters.largestLiveAllocation = std::max(counters.largestLiveAllocation, size);
    return block;
}

void FaultMemory::Release(void* block) {
    if (!block) return;
    m_live.erase(block);
    m_state.counters.liveAllocations = static_cast<int>(m_live.size());
    m_real.Release(block);
}

}  // namespace faultplat
