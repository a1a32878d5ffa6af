#pragma once
// The registry wrapper of the fault platform: fails creations, sets, deletions, opens and
// listings as the plan says, and notes the sub-key path each handle was opened by, so the
// trace can say what was listed and deleted and the counters which keys are still open.
// Private to the fault platform.
#include <map>

#include "platform/fault/fault_state.h"
#include "platform/forwarding_registry.h"

namespace faultplat {

class FaultRegistry : public plat::ForwardingRegistry {
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
    // Notes a handle the real registry handed out for `subKey`.
    plat::RegResult Opened(plat::RegResult result, const std::string& subKey, plat::RegKeyHandle key);
    std::string PathOf(plat::RegKeyHandle key) const;

    FaultState& m_state;
    std::map<plat::RegKeyHandle, std::string> m_paths;
};

}  // namespace faultplat
