#pragma once
// The install modes, smallest first: what start-up, the space display, the install run
// and the uninstall run need to know of each, in one row. A mode installs everything of
// the modes before it and adds its own data set.
#include <span>

class CInstallerDlg;

struct InstallMode {
    int state;            // the install state a completed install of this mode leaves
    const char* name;     // in words, for the install journal
    int radioId;          // the radio button that chooses it
    int sizeLabelId;      // the static beside it: what is still to copy
    unsigned sizeString;  // string-table entry: the mode's whole size in MB
    unsigned dataSet;     // string-table list: the folders the mode adds
    int (CInstallerDlg::*step)(int proceed);  // the install step that adds them
    int (CInstallerDlg::*writeRecord)();      // the record that step leaves behind
};

std::span<const InstallMode> InstallModes();

// The mode whose install leaves `state`; null for kInstallStateNone and any other value.
const InstallMode* ModeOfState(int state);
