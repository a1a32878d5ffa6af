#include "platform/fault/fault_registry.h"

namespace faultplat {

FaultRegistry::FaultRegistry(plat::Registry& real, FaultState& state) : plat::ForwardingRegistry(real), m_state(state) {}

plat::RegResult FaultRegistry::Opened(plat::RegResult result, const std::string& subKey, plat::RegKeyHandle key) {
    if (result == plat::kErrorSuccess) {
        m_paths[key] = subKey;
        m_state.counters.openRegistryKeys = static_cast<int>(m_paths.size());
    }
    return result;
}

std::string FaultRegistry::PathOf(plat::RegKeyHandle key) const {
    const auto found = m_paths.find(key);
    return found == m_paths.end() ? std::string("?") : found->second;
}

plat::RegResult FaultRegistry::CreateKey(plat::RegKeyHandle parent, const std::string& subKey,
                                         plat::RegKeyHandle* key) {
    if (m_state.Fails(Op::RegistryCreate, subKey)) return plat::kErrorAccessDenied;
    const plat::RegResult result = inner().CreateKey(parent, subKey, key);
    return Opened(result, subKey, *key);
}

plat::RegResult FaultRegistry::OpenKey(plat::RegKeyHandle parent, const std::string& subKey, std::uint32_t access,
                                       plat::RegKeyHandle* key) {
    if (m_state.Fails(Op::RegistryOpen, subKey)) return plat::kErrorAccessDenied;
    if (m_state.plan.failRegistryOpen.count(subKey)) {
        m_state.Inject(Op::RegistryOpen, subKey);
        return plat::kErrorAccessDenied;
    }
    const plat::RegResult result = inner().OpenKey(parent, subKey, access, key);
    return Opened(result, subKey, *key);
}

plat::RegResult FaultRegistry::EnumKey(plat::RegKeyHandle key, std::uint32_t index, char* name,
                                       std::uint32_t* nameSize) {
    const std::string path = PathOf(key);
    m_state.trace.registryLog.push_back("list " + path);
    if (m_state.Fails(Op::RegistryList, path)) return plat::kErrorAccessDenied;
    const auto limit = m_state.plan.failRegistryListFrom.find(path);
    if (limit != m_state.plan.failRegistryListFrom.end() && index >= limit->second) {
        m_state.Inject(Op::RegistryList, path);
        return plat::kErrorAccessDenied;
    }
    return inner().EnumKey(key, index, name, nameSize);
}

plat::RegResult FaultRegistry::EnumValue(plat::RegKeyHandle key, std::uint32_t index, char* name,
                                         std::uint32_t* nameSize) {
    if (m_state.Fails(Op::RegistryList, PathOf(key))) return plat::kErrorAccessDenied;
    return inner().EnumValue(key, index, name, nameSize);
}

plat::RegResult FaultRegistry::QueryValue(plat::RegKeyHandle key, const std::string& name, std::uint32_t* type,
                                          unsigned char* data, std::uint32_t* size) {
    if (m_state.Fails(Op::RegistryQuery, PathOf(key) + "\\" + name)) return plat::kErrorAccessDenied;
    return inner().QueryValue(key, name, type, data, size);
}

plat::RegResult FaultRegistry::SetValue(plat::RegKeyHandle key, const std::string& name, std::uint32_t type,
                                        const unsigned char* data, std::uint32_t size) {
    if (m_state.Fails(Op::RegistrySet, PathOf(key) + "\\" + name)) return plat::kErrorAccessDenied;
    return inner().SetValue(key, name, type, data, size);
}

plat::RegResult FaultRegistry::DeleteKey(plat::RegKeyHandle parent, const std::string& subKey) {
    m_state.trace.registryLog.push_back("delete " + subKey);
    if (m_state.Fails(Op::RegistryDelete, subKey)) return plat::kErrorAccessDenied;
    if (m_state.plan.failRegistryDelete.count(subKey)) {
        m_state.Inject(Op::RegistryDelete, subKey);
        return plat::kErrorAccessDenied;
    }
    return inner().DeleteKey(parent, subKey);
}

plat::RegResult FaultRegistry::CloseKey(plat::RegKeyHandle key) {
    m_paths.erase(key);
    m_state.counters.openRegistryKeys = static_cast<int>(m_paths.size());
    return inner().CloseKey(key);
}

}  // namespace faultplat
