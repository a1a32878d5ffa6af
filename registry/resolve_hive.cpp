// Hive names at the head of a textual key path, resolved to predefined root keys.
#include "app/installer_dlg.h"
#include "app/mbcs_text.h"
#include "platform/registry_roots.h"

plat::RegKeyHandle CInstallerDlg::ResolveHive(const std::string& name) const {
    // The name is a C string to the registry: anything after a zero byte is not part of it.
    const std::string hive(name.c_str());
    for (const plat::RootKeyName& row : plat::kRootKeys) {
        const bool named = mbcs::CompareNoCase(CodePage(), hive, row.shortName) == 0 ||
                           mbcs::CompareNoCase(CodePage(), hive, row.name) == 0;
        if (named) return row.root;
    }
    return plat::kNullKey;
}
