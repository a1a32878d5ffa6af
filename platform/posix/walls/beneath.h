#pragma once
// Opening host entries so that the kernel, not a string check, keeps every path beneath
// a chosen folder (a drive's host folder, or the system root).
//
// A symbolic link whose target stays beneath the folder is followed, as a junction is on
// Windows; one that leads out of it (by "..", by an absolute target, through /proc) is
// refused, and the caller sees it as a name that does not exist (ENOENT). Where the
// kernel cannot resolve beneath a folder (no openat2), each component is opened on its
// own without following links, so every link is refused: stricter, never looser.
#include <sys/types.h>

#include <array>
#include <string>

#include "platform/posix/walls/posix_handles.h"

namespace posixplat {

// Opens the folder `hostFolder` itself (links in its own path are the user's choice and
// are followed) as the base of later look-ups. Invalid, with errno set, on failure.
UniqueFd OpenBaseFolder(const std::string& hostFolder);

// Base folders opened once and kept, so that a tree copy does not open its drive's folder
// again for every step of every file. Each stays the folder its path named when it was
// first reached, as a mounted drive does. Used from one thread at a time.
class OpenBaseFolders {
public:
    // The open folder of drive `letter` ('A' to 'Z'), whose host folder is `hostFolder`,
    // or -1 with errno set. A failure is not kept: a folder that appears later is found
    // then.
    int Get(char letter, const std::string& hostFolder);

private:
    std::array<UniqueFd, 26> m_open;
};

// Opens `relative` ("." for the base itself; never absolute) beneath `baseFd` with the
// open(2) `flags` (O_CLOEXEC is always added) and `mode`. `escaped`, when given, tells
// whether the open failed because the path would have left the base.
UniqueFd OpenBeneath(int baseFd, const std::string& relative, int flags, mode_t mode = 0, bool* escaped = nullptr);

// How far links may lead: the sandbox keeps every path beneath its base; a Wine prefix
// reaches whatever the prefix's own programs reach, so there links are followed anywhere.
enum class LinkReach { kBeneathBase, kAnywhere };

// OpenBeneath, or with kAnywhere a plain openat below the base.
UniqueFd OpenBelow(LinkReach reach, int baseFd, const std::string& relative, int flags, mode_t mode = 0,
                   bool* escaped = nullptr);

// A host path below the base folder it must stay under.
struct BeneathPath {
    std::string relative;  // "." for the base itself
    std::string parent;    // folder part of `relative` ("." at the top level)
    std::string name;      // last component of `relative`; empty for the base itself
};

// Splits `hostPath`, which must be `base` or lie below it lexically; false otherwise.
bool SplitBeneath(const std::string& base, const std::string& hostPath, BeneathPath* path);

}  // namespace posixplat
