// Hive names at the head of a textual key path, resolved to predefined root keys.
#include <array>

#include "app/installer_dlg.h"
#include "app/mbcs_text.h"

namespace {

struct HiveName {
    const char* name;
    plat::RegKeyHandle root;
};

// Short forms come first, so they are tried before the long names.
constexpr std::array<HiveName, 14> kHiveTable{{
    {"HKCR", plat::kHkeyClassesRoot},
    {"HKCU", plat::kHkeyCurrentUser},
    {"HKLM", plat::kHkeyLocalMachine},
    {"HKU", plat::kHkeyUsers},
    {"HKPD", plat::kHkeyPerformanceData},
    {"HKDD", plat::kHkeyDynData},
    {"HKCC", plat::kHkeyCurrentConfig},
    {"HKEY_CLASSES_ROOT", plat::kHkeyClassesRoot},
    {"HKEY_CURRENT_USER", plat::kHkeyCurrentUser},
    {"HKEY_LOCAL_MACHINE", plat::kHkeyLocalMachine},
    {"HKEY_USERS", plat::kHkeyUsers},
    {"HKEY_PERFORMANCE_DATA", plat::kHkeyPerformanceData},
    {"HKEY_DYN_DATA", plat::kHkeyDynData},
    {"HKEY_CURRENT_CONFIG", plat::kHkeyCurrentConfig},
}};

}  // namespace

plat::RegKeyHandle CInstallerDlg::ResolveHive(const std::string& name) const {
    // The name is a C string to the registry: anything after a zero byte is not part of it.
    const std::string hive(name.c_str());
    for (const HiveName& row : kHiveTable) {
        if (mbcs::CompareNoCase(CodePage(), hive, row.name) == 0) return row.root;
    }
    return plat::kNullKey;
}
