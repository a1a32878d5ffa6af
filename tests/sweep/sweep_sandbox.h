#pragma once
// A folder of its own for one sweep: the system roots of its runs are made inside it,
// and beside them lies a decoy of the user's own files, outside every root. While the
// sandbox lives, the temporary folder points at it, and the home folder, the XDG
// folders and the working folder point into the decoy, so whatever a run writes outside
// its root lands where ChangesOutsideRoots() sees it.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/fixtures/host_tree.h"

class SweepSandbox {
public:
    SweepSandbox();
    ~SweepSandbox();
    SweepSandbox(const SweepSandbox&) = delete;
    SweepSandbox& operator=(const SweepSandbox&) = delete;

    // Paths below the sandbox, system roots left out, that differ from when it was made.
    std::vector<std::string> ChangesOutsideRoots() const;

private:
    testsupport::HostTree OutsideRoots() const;

    std::string m_folder;
    std::string m_previousWorkingFolder;
    std::vector<std::pair<std::string, std::optional<std::string>>> m_previousVariables;
    testsupport::HostTree m_initial;
};
