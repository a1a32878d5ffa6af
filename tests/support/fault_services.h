#pragma once
// The registry, shell and memory wrappers of the fault platform. Private to it.
#include <map>

#include "platform/memory.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "tests/support/fault_state.h"

namespace testsupport {

class FaultRegistry : public plat::Registry {
public:
    FaultRegistry(plat::Registry& real, FaultState& state);
    plat::RegResult CreateKey(plat::RegKeyHandle parent, const std::string& subKey, plat::RegKeyHandle* key) override;
    plat::RegResult OpenKey(plat::RegKeyHandle parent, const std::string& subKey, std::uint32_t access,
                            plat::RegKeyHandle* key) override;
    plat::RegResult EnumKey(plat::RegKeyHandle key, std::uint32_t index, char* name, std::uint32_t* nameSize) override;
    plat::RegResult EnumValue(plat::RegKeyHandle key, std::uint32_t index, char* name,
                              std::uint32_t* nameSize) override;
    plat::RegResult QueryValue(plat::RegKeyHandle key, const std::string& name, std::uint32_t* type,
                               unsigned char* data, std::uint32_t* size) override;
    plat::RegResult SetValue(plat::RegKeyHandle key, const std::string& name, std::uint32_t type,
                             const unsigned char* data, std::uint32_t size) override;
    plat::RegResult DeleteKey(plat::RegKeyHandle parent, const std::string& subKey) override;
    plat::RegResult CloseKey(plat::RegKeyHandle key) override;

private:
    plat::Registry& m_real;
    FaultState& m_state;
};

class FaultShell : public plat::Shell {
public:
    FaultShell(plat::Shell& real, FaultState& state);
    bool InitializeComponents() override;
    std::unique_ptr<plat::ShellLink> CreateLink() override;

private:
    plat::Shell& m_real;
    FaultState& m_state;
};

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

}  // namespace testsupport
