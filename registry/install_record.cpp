// The install record: the key of string 103 with the values of install_record_names.h.
// Each writer raises the record by one install level and stops at the
// first value it cannot write; what it wrote before that stays.
#include "app/installer_dlg.h"
#include "app/string_ids.h"
#include "app/mbcs_text.h"
#include "registry/install_record_names.h"
#include "registry/reg_key.h"

int CInstallerDlg::OpenRecordKey(registry::RegKey& key, bool create) {
    const std::string recordPath = LoadString(IDS_RECORD_KEY);
    CStringArray levels;
    if (SplitList(recordPath, levels, '\\') == 0) return 0;

    const plat::RegKeyHandle root = ResolveHive(levels[0]);
    if (root == plat::kNullKey) return 0;

    // Without a key below the hive the values would land in the hive's root key.
    const std::string::size_type backslash = mbcs::Find(CodePage(), recordPath, '\\');
    if (backslash == mbcs::npos || backslash + 1 == recordPath.size()) return 0;
    const std::string subKeyPath = recordPath.substr(backslash + 1);
    const plat::RegResult result =
        create ? key.Create(root, subKeyPath) : key.Open(root, subKeyPath, plat::kKeyAllAccess);
    return result == plat::kErrorSuccess;
}

int CInstallerDlg::WriteMinimumRecord() {
    registry::RegKey key(m_platform.registry);
    if (!OpenRecordKey(key, true)) return 0;

    int result = WriteStringValue(key.get(), kRecordInstallFolder, m_strInstallDir);
    if (result) result = WriteStringValue(key.get(), kRecordSourceRoot, m_strSourceRoot);
    if (result) result = WriteStringValue(key.get(), kRecordSetupMode, kSetupModeMinimum);
    if (result) result = WriteDwordValue(key.get(), kRecordVoiceInstalled, 0);
    return result;
}

int CInstallerDlg::WriteNormalRecord() {
    // Only a record that a minimum install left behind is raised; none is created here.
    registry::RegKey key(m_platform.registry);
    if (!OpenRecordKey(key, false)) return 0;

    int result = WriteStringValue(key.get(), kRecordSetupMode, kSetupModeMaximum);
    if (result) result = WriteDwordValue(key.get(), kRecordVoiceInstalled, 1);
    return result;
}

int CInstallerDlg::WriteFullRecord() {
    registry::RegKey key(m_platform.registry);
    if (!OpenRecordKey(key, false)) return 0;

    // Everything now lives in the install folder: the disc is no longer the source.
    return WriteStringValue(key.get(), kRecordSourceRoot, m_strInstallDir);
}
