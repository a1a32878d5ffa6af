#include "platform/posix/registry/registry_handle_table.h"

#include "platform/posix/registry/registry_key_path.h"

namespace posixplat::reg {

plat::RegKeyHandle RegistryHandleTable::Add(OpenKeyEntry entry) {
    const plat::RegKeyHandle handle = m_next;
    m_next += 4;  // Win32 handles are multiples of four
    m_entries.emplace(handle, std::move(entry));
    return handle;
}

const OpenKeyEntry* RegistryHandleTable::Find(plat::RegKeyHandle handle) const {
    const auto found = m_entries.find(handle);
    return found == m_entries.end() ? nullptr : &found->second;
}

bool RegistryHandleTable::Remove(plat::RegKeyHandle handle) { return m_entries.erase(handle) != 0; }

void RegistryHandleTable::MarkDeleted(int hive, const std::vector<std::string>& path) {
    for (auto& [handle, entry] : m_entries) {
        if (entry.hive == hive && SamePath(entry.path, path)) entry.deleted = true;
    }
}

std::uint32_t EffectiveKeyAccess(std::uint32_t requested) {
    constexpr std::uint32_t kGenericRead = 0x80000000u;
    constexpr std::uint32_t kGenericWrite = 0x40000000u;
    constexpr std::uint32_t kGenericExecute = 0x20000000u;
    constexpr std::uint32_t kGenericAll = 0x10000000u;
    constexpr std::uint32_t kMaximumAllowed = 0x02000000u;
    std::uint32_t access = requested;
    if (requested & (kGenericRead | kGenericExecute)) access |= plat::kKeyRead;
    if (requested & kGenericWrite) access |= plat::kKeyWrite;
    if (requested & (kGenericAll | kMaximumAllowed)) access |= plat::kKeyAllAccess;
    return access;
}

}  // namespace posixplat::reg
