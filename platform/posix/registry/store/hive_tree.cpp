#include "platform/posix/registry/store/hive_tree.h"

#include <algorithm>

#include "platform/posix/registry/store/registry_names.h"

namespace posixplat::reg {
namespace {

// Keys with more values than this get an index; below it a scan is quicker and smaller.
constexpr std::size_t kValuesScanned = 16;

}  // namespace

HiveKey::HiveKey(std::string name) : m_name(std::move(name)) {}

HiveKey::~HiveKey() = default;

const HiveKey* HiveKey::SubKeyAt(std::size_t index) const {
    return index < m_subKeys.size() ? m_subKeys[index].get() : nullptr;
}

HiveKey::SubKeys::const_iterator HiveKey::LowerBound(std::string_view name) const {
    return std::lower_bound(m_subKeys.begin(), m_subKeys.end(), name,
                            [](const std::unique_ptr<HiveKey>& key, std::string_view wanted) {
                                return CompareNames(key->name(), wanted) < 0;
                            });
}

const HiveKey* HiveKey::FindSubKey(std::string_view name) const {
    const auto found = LowerBound(name);
    return found != m_subKeys.end() && NamesEqual((*found)->name(), name) ? found->get() : nullptr;
}

HiveKey* HiveKey::FindSubKey(std::string_view name) {
    return const_cast<HiveKey*>(static_cast<const HiveKey*>(this)->FindSubKey(name));
}

HiveKey& HiveKey::AddSubKey(std::string_view name) {
    // Keys are read in enumeration order: most additions belong at the end.
    const int againstLast = m_subKeys.empty() ? 1 : CompareNames(name, m_subKeys.back()->name());
    if (againstLast == 0) return *m_subKeys.back();
    if (againstLast > 0) return *m_subKeys.emplace_back(std::make_unique<HiveKey>(std::string(name)));
    const auto place = LowerBound(name);
    if (NamesEqual((*place)->name(), name)) return **place;
    return **m_subKeys.insert(place, std::make_unique<HiveKey>(std::string(name)));
}

bool HiveKey::RemoveSubKey(std::string_view name) {
    const auto found = LowerBound(name);
    if (found == m_subKeys.end() || !NamesEqual((*found)->name(), name)) return false;
    m_subKeys.erase(found);
    return true;
}

std::size_t HiveKey::ValueIndex(std::string_view name) const {
    if (m_valueIndex) {
        const auto found = m_valueIndex->find(FoldName(name));
        return found == m_valueIndex->end() ? m_values.size() : found->second;
    }
    std::size_t index = 0;
    while (index < m_values.size() && !NamesEqual(m_values[index].name, name)) ++index;
    return index;
}

const HiveValue* HiveKey::FindValue(std::string_view name) const {
    const std::size_t index = ValueIndex(name);
    return index < m_values.size() ? &m_values[index] : nullptr;
}

bool HiveKey::SetValue(std::string_view name, std::uint32_t type, std::string data) {
    const std::size_t index = ValueIndex(name);
    if (index < m_values.size()) {
        HiveValue& value = m_values[index];
        if (value.type == type && value.data == data) return false;
        value.type = type;
        value.data = std::move(data);
        return true;
    }
    m_values.push_back(HiveValue{std::string(name), type, std::move(data)});
    if (m_valueIndex) {
        m_valueIndex->emplace(FoldName(name), index);
    } else if (m_values.size() > kValuesScanned) {
        m_valueIndex = std::make_unique<std::unordered_map<std::string, std::size_t>>();
        for (std::size_t i = 0; i < m_values.size(); ++i) m_valueIndex->emplace(FoldName(m_values[i].name), i);
    }
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
