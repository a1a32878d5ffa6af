#pragma once
// One hive in memory: a tree of keys, each with its values in the order they were first
// set and its sub-keys sorted the way Win32 enumerates them (case-insensitively).
//
// Sub-keys sit in one sorted array, so that the key at an enumeration index is one step
// away and a hive of 100,000 keys stays near a hundred bytes a key. A file this store
// wrote lists the keys in that order, and reading it only ever appends.
#include <cstdint>
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
    explicit HiveKey(std::string name);
    ~HiveKey();
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
        for (const auto& sub : m_subKeys) visit(*sub);
    }

    const std::vector<HiveValue>& values() const { return m_values; }
    const HiveValue* FindValue(std::string_view name) const;
    // Replaces the data of an existing value (keeping the case of its name) or appends a
    // new one. False when the value already held exactly this.
    bool SetValue(std::string_view name, std::uint32_t type, std::string data);

private:
    using SubKeys = std::vector<std::unique_ptr<HiveKey>>;
    // Where a sub-key of that name is or would go.
    SubKeys::const_iterator LowerBound(std::string_view name) const;
    std::size_t ValueIndex(std::string_view name) const;  // m_values.size() when absent

    std::string m_name;
    std::vector<HiveValue> m_values;
    SubKeys m_subKeys;  // in enumeration order
    // Folded name -> place in m_values, kept only for keys with many values.
    std::unique_ptr<std::unordered_map<std::string, std::size_t>> m_valueIndex;
};

// The key at `path` below `root` (each component matched ignoring case); null if absent.
HiveKey* FindKey(HiveKey& root, const std::vector<std::string>& path);
const HiveKey* FindKey(const HiveKey& root, const std::vector<std::string>& path);

}  // namespace posixplat::reg
