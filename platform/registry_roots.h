#pragma once
// The predefined root keys by name: the long name a path starts with and the short form
// a configuration may use. In the order of their handles.
#include <string_view>

#include "platform/registry.h"

namespace plat {

struct RootKeyName {
    RegKeyHandle root;
    const char* name;
    const char* shortName;
    // HKEY_PERFORMANCE_DATA and HKEY_DYN_DATA are views the system makes up: they hold no
    // keys or values that could be stored.
    bool holdsKeys;
};

inline constexpr RootKeyName kRootKeys[] = {
    {kHkeyClassesRoot, "HKEY_CLASSES_ROOT", "HKCR", true},
    {kHkeyCurrentUser, "HKEY_CURRENT_USER", "HKCU", true},
    {kHkeyLocalMachine, "HKEY_LOCAL_MACHINE", "HKLM", true},
    {kHkeyUsers, "HKEY_USERS", "HKU", true},
    {kHkeyPerformanceData, "HKEY_PERFORMANCE_DATA", "HKPD", false},
    {kHkeyCurrentConfig, "HKEY_CURRENT_CONFIG", "HKCC", true},
    {kHkeyDynData, "HKEY_DYN_DATA", "HKDD", false},
};

// The row of a predefined key, or null for any other handle.
constexpr const RootKeyName* FindRootKey(RegKeyHandle handle) {
    for (const RootKeyName& row : kRootKeys) {
        if (row.root == handle) return &row;
    }
    return nullptr;
}

}  // namespace plat
