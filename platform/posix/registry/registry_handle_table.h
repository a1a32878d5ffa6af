#pragma once
// The keys a process has open. A handle names its key by hive and path, not by a place
// in memory: another process may rewrite the hive file at any time, so each call looks
// the key up again.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace posixplat::reg {

struct OpenKeyEntry {
    int hive = 0;                   // index of the hive store
    std::vector<std::string> path;  // below the hive root
    std::uint32_t access = 0;       // generic rights already mapped to key rights
    bool deleted = false;           // this process deleted the key since
};

class RegistryHandleTable {
public:
    plat::RegKeyHandle Add(OpenKeyEntry entry);
    // Null for a handle that was never handed out or is closed.
    const OpenKeyEntry* Find(plat::RegKeyHandle handle) const;
    bool Remove(plat::RegKeyHandle handle);
    // Every handle to that key fails from now on, even if a key of the same name is
    // created again.
    void MarkDeleted(int hive, const std::vector<std::string>& path);

private:
    std::map<plat::RegKeyHandle, OpenKeyEntry> m_entries;
    // Counts up and is never reused, so a stale handle cannot reach a newer key; far
    // below the predefined root handles.
    plat::RegKeyHandle m_next = 0x1000;
};

// Maps GENERIC_READ/WRITE/EXECUTE/ALL and MAXIMUM_ALLOWED onto key rights.
std::uint32_t EffectiveKeyAccess(std::uint32_t requested);

}  // namespace posixplat::reg
