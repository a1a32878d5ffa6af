#include "platform/posix/hive_tree.h"

#include <iterator>

#include "platform/posix/registry_names.h"

namespace posixplat::reg {

const HiveKey* HiveKey::SubKeyAt(std::size_t index) const {
    if (index >= m_subKeys.size()) return nullptr;
    return std::next(m_subKeys.begin(), static_cast<std::ptrdiff_t>(index))->second.get();
}

HiveKey* HiveKey::FindSubKey(std::string_view name) {
    const auto found = m_subKeys.find(FoldName(name));
    return found == m_subKeys.end() ? nullptr : found->second.get();
}

const HiveKey* HiveKey::FindSubKey(std::string_view name) const {
    const auto found = m_subKeys.find(FoldName(name));
    return found == m_subKeys.end() ? nullptr : found->second.get();
}

HiveKey& HiveKey::AddSubKey(std::string_view name) {
    auto& slot = m_subKeys[FoldName(name)];
    if (!slot) slot = std::make_unique<HiveKey>(std::string(name));
    return *slot;
}

bool HiveKey::RemoveSubKey(std::string_view name) { return m_subKeys.erase(FoldName(name)) != 0; }

const HiveValue* HiveKey::FindValue(std::string_view name) const {
    const auto found = m_valueIndex.find(FoldName(name));
    return found == m_valueIndex.end() ? nullptr : &m_values[found->second];
}

bool HiveKey::SetValue(std::string_view name, std::uint32_t type, std::string data) {
    const auto [slot, added] = m_valueIndex.emplace(FoldName(name), m_values.size());
    if (added) {
        m_values.push_back(HiveValue{std::string(name), type, std::move(data)});
        return true;
    }
    HiveValue& value = m_values[slot->second];
    if (value.type == type && value.data == data) return false;
    value.type = type;
    value.data = std::move(data);
    return true;
}

HiveKey* FindKey(HiveKey& root, const std::vector<std::string>& path) {
    HiveKey* key = &root;
    for (const std::string& component : path) {
        key = key->FindSubKey(component);
        if (!key) return nullptr;
    }
    return key;
}

const HiveKey* FindKey(const HiveKey& root, const std::vector<std::string>& path) {
    return FindKey(const_cast<HiveKey&>(root), path);
}

}  // namespace posixplat::reg
