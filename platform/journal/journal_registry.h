#pragma once
// The registry wrapper of the journal: values written and keys deleted, by their full
// key path, and every call that failed with the registry's error. Notes the path each
// handle was opened by, from the predefined roots on. Private to the journal platform.
#include <map>

#include "platform/journal/journal.h"
#include "platform/forwarding_registry.h"

namespace journal {

class JournalRegistry : public plat::ForwardingRegistry {
public:
    JournalRegistry(plat::Registry& real, plat::SystemErrors& errors, Journal& journal);
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
    // "HKEY_CURRENT_USER\Software\..." for a handle, and for a sub-key below one.
    std::string PathOf(plat::RegKeyHandle key) const;
    std::string PathBelow(plat::RegKeyHandle parent, const std::string& subKey) const;
    plat::RegResult Opened(plat::RegResult result, const char* operation, plat::RegKeyHandle parent,
                           const std::string& subKey, plat::RegKeyHandle* key);
    // Passes `result` on; a failure is noted with the registry's words for it.
    plat::RegResult Noted(plat::RegResult result, const char* operation, const std::string& path);

    plat::SystemErrors& m_errors;
    Journal& m_journal;
    std::map<plat::RegKeyHandle, std::string> m_paths;
};

}  // namespace journal
