#pragma once
// Owns one open registry key and closes it when it goes out of scope, so that every
// return path of a registry operation gives its keys back.
#include <cstdint>
#include <string>

#include "platform/registry.h"

namespace registry {

class RegKey {
public:
    explicit RegKey(plat::Registry& registry) : m_registry(registry) {}
    ~RegKey() { Close(); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    // RegOpenKeyEx below `parent`; on failure the holder stays empty.
    plat::RegResult Open(plat::RegKeyHandle parent, const std::string& subKey, std::uint32_t access) {
        Close();
        plat::RegKeyHandle opened = plat::kNullKey;
        const plat::RegResult result = m_registry.OpenKey(parent, subKey, access, &opened);
        if (result == plat::kErrorSuccess) m_handle = opened;
        return result;
    }

    // RegCreateKeyEx below `parent`: creates missing levels, opens an existing key.
    plat::RegResult Create(plat::RegKeyHandle parent, const std::string& subKey) {
        Close();
        plat::RegKeyHandle created = plat::kNullKey;
        const plat::RegResult result = m_registry.CreateKey(parent, subKey, &created);
        if (result == plat::kErrorSuccess) m_handle = created;
        return result;
    }

    void Close() {
        if (m_handle != plat::kNullKey) {
            m_registry.CloseKey(m_handle);
            m_handle = plat::kNullKey;
        }
    }

    plat::RegKeyHandle get() const { return m_handle; }

private:
    plat::Registry& m_registry;
    plat::RegKeyHandle m_handle = plat::kNullKey;
};

}  // namespace registry
