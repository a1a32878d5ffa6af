#pragma once
// The file written last, kept open a little past its closing.
//
// A copy closes the file it wrote and then sets its times by name. Looking the name up
// again costs as much as the rest of a small file's copy, so the descriptor is kept and
// the times go through it. They land on the file as written even if another process has
// moved it or put something else at that name in between, which is what that process
// would have seen had the times been set a moment earlier; a file removed meanwhile is
// not used (the caller looks its name up again).
#include <string>

#include "platform/posix/walls/posix_handles.h"

namespace posixplat {

class LastWrittenFile {
public:
    // Keeps `fd`, written through the Windows path `path`, in place of any file kept.
    void Keep(std::string path, UniqueFd fd);
    // The descriptor kept for exactly `path`, handed over; invalid when there is none.
    UniqueFd Take(const std::string& path);
    // Lets go of the file kept, as soon as what a name stands for may change.
    void Forget();

private:
    std::string m_path;
    UniqueFd m_fd;
};

}  // namespace posixplat
