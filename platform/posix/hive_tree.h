#pragma once
// One hive in memory: a tree of keys, each with its values in the order they were first
// set and its sub-keys sorted the way Win32 enumerates them (case-insensitively).
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace posixplat::reg {

struct HiveValue {
    std::string name;  // as first set; empty is the default value
    std::uint32_t type = 0;
    std::string data;  // raw bytes
};

class HiveKey {
public:
    explicit HiveKey(std::string name) : m_name(std::move(name)) {}
    HiveKey(const HiveKey&) = delete;
    HiveKey& operator=(const HiveKey&) = delete;

    const std::string& name() const { return m_name; }

    std::size_t SubKeyCount() const { return m_subKeys.size(); }
    // The sub-key at `index` in enumeration order; null past the end.
    const HiveKey* SubKeyAt(std::size_t index) const;
    HiveKey* FindSubKey(std::string_view name);
    const HiveKey* FindSubKey(std::string_view name) const;
    // The existing sub-key of that name (any case), else a new one named as given.
    HiveKey& AddSubKey(std::string_view name);
    bool RemoveSubKey(std::string_view name);

    // Visits the sub-keys in enumeration order.
    template <typename Visit>
    void ForEachSubKey(Visit&& visit) const {
        for (const auto& entry : m_subKeys) visit(*entry.second);
    }

    const std::vector<HiveValue>& values() const { return m_values; }
    const HiveValue* FindValue(std::string_view name) const;
    // Replaces the data of an existing value (keeping the case of its name) or appends a
    // new one. False when the value already held exactly this.
    bool SetValue(std::string_view name, std::uint32_t type, std::string data);

private:
    std::string m_name;
    std::vector<HiveValue> m_values;
    std::unordered_map<std::string, std::size_t> m_valueIndex;  // folded name -> place in m_values
    std::map<std::string, std::unique_ptr<HiveKey>> m_subKeys;  // by folded name
};

// The key at `path` below `root` (each component matched ignoring case); null if absent.
HiveKey* FindKey(HiveKey& root, const std::vector<std::string>& path);
const HiveKey* FindKey(const HiveKey& root, const std::vector<std::string>& path);

}  // namespace posixplat::reg
