#pragma once
// The installer's main dialog: its state, start-up, routing, and every operation of
// the installer. One instance lives for one run of the program.
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/run_observer.h"
#include "platform/dialog_host.h"
#include "platform/platform.h"

using CStringArray = std::vector<std::string>;

struct InstallMode;

namespace registry {
class RegKey;
}

class CInstallerDlg {
public:
    CInstallerDlg(plat::Platform& platform, plat::DialogHost& host);

    // Start-up and routing.
    int OnInitDialog();
    // A command from control `id` with notification `code` (kNotifyClicked, kNotifySelectionChange).
    void OnCommand(int id, int code);
    void OnCancel();
    void OnOK();
    bool UpdateData();

    // Configuration strings and lists.
    std::string LoadString(unsigned id) const;
    int SplitList(std::string text, CStringArray& items, char delimiter) const;
    std::string FormatString1(unsigned id, const std::string& argument) const;

    // Space display and source check.
    void ShowModeSize(int labelId, unsigned sizeId, int installedMb);
    void RefreshSpace();
    int FindSourceRoot();

    // Folder creation and copy.
    int CreateFolderTree(std::string path);
    int CopyFileWithProgress(const std::string& destination, const std::string& source);
    int CopyFolderTree(const std::string& destination, const std::string& source);
    int InstallDataSet(unsigned listId);

    // Install run.
    void OnInstall();
    int RunInstall();
    int InstallBase(int proceed);
    int InstallVoice(int proceed);
    int InstallMedia(int proceed);

    // Registry.
    plat::RegKeyHandle ResolveHive(const std::string& name) const;
    int WriteStringValue(plat::RegKeyHandle key, const std::string& valueName, const std::string& text);
    int WriteDwordValue(plat::RegKeyHandle key, const std::string& valueName, unsigned long value);
    int ReadStringValue(plat::RegKeyHandle key, const std::string& valueName, std::string& text);
    int WriteMinimumRecord();
    int WriteNormalRecord();
    int WriteFullRecord();
    int DetectInstallState();
    int DeleteRegistryTree(const std::string& path, int recurse, int removeEmptyParent);

    // Shortcuts.
    int CreateShortcut(const std::string& folder);
    int CreateShellShortcut(int code);
    int RemoveShellShortcut(int code);

    // Uninstall run and removal.
    void OnUninstall();
    int RemoveDataSet(unsigned listId);
    int RemoveFile(const std::string& path);
    int RemoveFolder(const std::string& path);

    // State, readable by tests and front-ends.
    std::string m_strFreeSpace;
    std::string m_strSourceRoot;
    std::string m_strInstallDir;
    int m_nInstallState = 0;
    // Told of every run's start and end when a front-end sets it; not owned.
    RunObserver* m_pRunObserver = nullptr;

private:
    // The checked mode, looked for as the dialog reads its radio buttons: the largest
    // first. Null when none is checked.
    const InstallMode* ReadMode();
    // What the detected state has installed, in MB of its mode's size string; 0 for none.
    int InstalledMb() const;
    // Adds the data set of `mode` and writes its record, as the steps above the base do.
    int InstallModeData(const InstallMode& mode, int proceed);
    plat::CodePage CodePage() const;
    // Removes trailing backslashes and appends one: the base for names inside a folder.
    std::string FolderBase(const std::string& folder) const;
    // Removes the files directly inside `folder`, then the folder if that left it empty.
    void RemoveFolderFiles(const std::string& folder);

    // Registry helpers: the record key of string 103 created or opened in `key` (never
    // the hive's own root key), a key's sub-key names, and the shell folder of location
    // `code` with its key held open in `key`.
    int OpenRecordKey(registry::RegKey& key, bool create);
    void ListSubKeys(plat::RegKeyHandle key, CStringArray& names);
    int FindShellFolder(int code, registry::RegKey& key, std::string& folder);

    plat::Platform& m_platform;
    plat::DialogHost& m_host;
};
