// Finding an earlier installation from its install record. The record key is reached
// level by level, each level proven by listing its parent's sub-keys, so that a
// publisher or product key in another letter case is still recognised.
#include "app/install_states.h"
#include "app/installer_dlg.h"
#include "app/string_ids.h"
#include "app/mbcs_text.h"
#include "registry/install_record_names.h"
#include "registry/reg_key.h"

namespace {

// Searched from the last listed name to the first, ignoring letter case.
bool ContainsKeyName(plat::CodePage codePage, const CStringArray& names, const std::string& wanted) {
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        if (mbcs::CompareNoCase(codePage, wanted, *name) == 0) return true;
    }
    return false;
}

}  // namespace

int CInstallerDlg::DetectInstallState() {
    const plat::CodePage codePage = CodePage();
    const std::string recordPath = LoadString(IDS_RECORD_KEY);

    // hive \ base path \ publisher \ product; the base path may have levels of its own.
    const std::string::size_type productSlash = mbcs::FindLast(codePage, recordPath, '\\');
    if (productSlash == mbcs::npos) return kInstallStateNone;
    const std::string product = recordPath.substr(productSlash + 1);
    const std::string rest = recordPath.substr(0, productSlash);

    const std::string::size_type publisherSlash = mbcs::FindLast(codePage, rest, '\\');
    if (publisherSlash == mbcs::npos) return kInstallStateNone;
    const std::string publisher = rest.substr(publisherSlash + 1);
    const std::string prefix = recordPath.substr(0, publisherSlash);

    const std::string::size_type hiveSlash = mbcs::Find(codePage, prefix, '\\');
    if (hiveSlash == mbcs::npos) return kInstallStateNone;
    const std::string hiveName = prefix.substr(0, hiveSlash);
    std::string path = prefix.substr(hiveSlash + 1);

    const plat::RegKeyHandle root = ResolveHive(hiveName);
    if (root == plat::kNullKey) return kInstallStateNone;

    CStringArray names;
    {
        registry::RegKey base(m_platform.registry);
        if (base.Open(root, path, plat::kKeyRead) != plat::kErrorSuccess) return kInstallStateNone;
        ListSubKeys(base.get(), names);
    }
    if (!ContainsKeyName(codePage, names, publisher)) return kInstallStateNone;

    path += '\\';
    path += publisher;
    {
        registry::RegKey publisherKey(m_platform.registry);
        if (publisherKey.Open(root, path, plat::kKeyRead) != plat::kErrorSuccess) return kInstallStateNone;
        ListSubKeys(publisherKey.get(), names);
    }
    if (!ContainsKeyName(codePage, names, product)) return kInstallStateNone;

    // The product key is listed: from here on something is installed, however damaged
    // its record may be, so that uninstalling stays possible.
    path += '\\';
    path += product;
    registry::RegKey record(m_platform.registry);
    if (record.Open(root, path, plat::kKeyRead) != plat::kErrorSuccess) return kInstallStateMinimum;

    std::string setupMode;
    std::string installDir;
    std::string sourceRoot;
    if (!ReadStringValue(record.get(), kRecordSetupMode, setupMode)) return kInstallStateMinimum;
    if (!ReadStringValue(record.get(), kRecordInstallFolder, installDir)) return kInstallStateMinimum;
    if (!ReadStringValue(record.get(), kRecordSourceRoot, sourceRoot)) return kInstallStateMinimum;

    int state = kInstallStateMinimum;
    if (mbcs::CompareNoCase(codePage, setupMode, kSetupModeMinimum) != 0) state = kInstallStateNormal;
    // A full install points its source at the install folder itself.
    if (mbcs::Compare(codePage, installDir, sourceRoot) == 0) state = kInstallStateFull;
    record.Close();

    m_strSourceRoot = sourceRoot;
    m_strInstallDir = installDir;
    return state;
}
