#include "tests/support/fault_services.h"

#include <algorithm>

namespace testsupport {

// --- registry ---

FaultRegistry::FaultRegistry(plat::Registry& real, FaultState& state) : m_real(real), m_state(state) {}

plat::RegResult FaultRegistry::CreateKey(plat::RegKeyHandle parent, const std::string& subKey,
                                         plat::RegKeyHandle* key) {
    return m_real.CreateKey(parent, subKey, key);
}

plat::RegResult FaultRegistry::OpenKey(plat::RegKeyHandle parent, const std::string& subKey, std::uint32_t access,
                                       plat::RegKeyHandle* key) {
    return m_real.OpenKey(parent, subKey, access, key);
}

plat::RegResult FaultRegistry::EnumKey(plat::RegKeyHandle key, std::uint32_t index, char* name,
                                       std::uint32_t* nameSize) {
    return m_real.EnumKey(key, index, name, nameSize);
}

plat::RegResult FaultRegistry::EnumValue(plat::RegKeyHandle key, std::uint32_t index, char* name,
                                         std::uint32_t* nameSize) {
    return m_real.EnumValue(key, index, name, nameSize);
}

plat::RegResult FaultRegistry::QueryValue(plat::RegKeyHandle key, const std::string& name, std::uint32_t* type,
                                          unsigned char* data, std::uint32_t* size) {
    return m_real.QueryValue(key, name, type, data, size);
}

plat::RegResult FaultRegistry::SetValue(plat::RegKeyHandle key, const std::string& name, std::uint32_t type,
                                        const unsigned char* data, std::uint32_t size) {
    ++m_state.counters.registrySets;
    const int failAt = m_state.plan.failRegistrySetNumber;
    if (failAt != 0 && m_state.counters.registrySets == failAt) {
        m_state.Inject();
        return plat::kErrorAccessDenied;
    }
    return m_real.SetValue(key, name, type, data, size);
}

plat::RegResult FaultRegistry::DeleteKey(plat::RegKeyHandle parent, const std::string& subKey) {
    return m_real.DeleteKey(parent, subKey);
}

plat::RegResult FaultRegistry::CloseKey(plat::RegKeyHandle key) { return m_real.CloseKey(key); }

// --- shell ---

namespace {

class FaultShellLink : public plat::ShellLink {
public:
    FaultShellLink(std::unique_ptr<plat::ShellLink> real, FaultState& state)
        : m_real(std::move(real)), m_state(state) {}

    bool SetPath(const std::string& path) override { return m_real->SetPath(path); }
    bool ClearArguments() override { return m_real->ClearArguments(); }
    bool SetWorkingDirectory(const std::string& folder) override { return m_real->SetWorkingDirectory(folder); }
    bool Save(const std::u16string& fileName) override {
        if (m_state.plan.failLinkSave) return m_state.Inject();
        if (!m_real->Save(fileName)) return false;
        ++m_state.counters.linksSaved;
        return true;
    }

private:
    std::unique_ptr<plat::ShellLink> m_real;
    FaultState& m_state;
};

}  // namespace

FaultShell::FaultShell(plat::Shell& real, FaultState& state) : m_real(real), m_state(state) {}

bool FaultShell::InitializeComponents() { return m_real.InitializeComponents(); }

std::unique_ptr<plat::ShellLink> FaultShell::CreateLink() {
    std::unique_ptr<plat::ShellLink> real = m_real.CreateLink();
    if (!real) return nullptr;
    return std::make_unique<FaultShellLink>(std::move(real), m_state);
}

// --- memory ---

FaultMemory::FaultMemory(plat::Memory& real, FaultState& state) : m_real(real), m_state(state) {}

void* FaultMemory::Allocate(std::size_t size) {
    FaultCounters& counters = m_state.counters;
    counters.lastAllocationSize = size;
    if (m_state.plan.failAllocationAtOrAbove && size >= *m_state.plan.failAllocationAtOrAbove) {
        m_state.Inject();
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

}  // namespace testsupport
