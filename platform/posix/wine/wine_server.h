#pragma once
// A prefix's wineserver. While one runs, Wine holds the prefix's registry in memory and
// writes it back when its last program ends, undoing any change made to the files
// meanwhile. The server takes a write lock on the file "lock" of its server folder before
// it loads the registry, and a server that cannot take it exits; so holding that lock
// for as long as we change the prefix keeps any server from running, or starting, then.
#include <memory>
#include <string>
#include <vector>

#include "platform/posix/walls/posix_handles.h"

namespace posixplat {

class WineServerLock {
public:
    // Takes the lock of every server folder a Wine of this system uses for `prefix`:
    // Debian's, in the private folder named by the prefix's file "wineserver" (made as
    // Wine makes it when missing) below $TMPDIR or /tmp, and upstream's in
    // /tmp/.wine-<uid>. Null with the reason when a server of the prefix runs, another
    // program holds the lock, or a folder cannot be made.
    static std::unique_ptr<WineServerLock> Take(const std::string& prefix, std::string* error);

    // The lock files held, for messages and tests.
    const std::vector<std::string>& lockFiles() const { return m_paths; }

private:
    WineServerLock() = default;
    std::vector<UniqueFd> m_locks;
    std::vector<std::string> m_paths;
};

}  // namespace posixplat
