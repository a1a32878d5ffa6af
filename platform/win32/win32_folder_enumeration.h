#pragma once
// One pass of FindFirstFileW / FindNextFileW over a folder.
#include <memory>
#include <string>

#include "platform/file_system.h"
#include "platform/win32/win32_handles.h"

namespace win32plat {

class Win32FolderEnumeration : public plat::FolderEnumeration {
public:
    // Null when the folder cannot be listed; an empty enumeration for a folder that
    // has no entries at all (a drive root).
    static std::unique_ptr<plat::FolderEnumeration> Start(const std::string& pattern);

    bool Next(plat::FolderEntry* entry) override;

private:
    Win32FolderEnumeration(UniqueFindHandle handle, const WIN32_FIND_DATAW& first);

    UniqueFindHandle m_handle;
    WIN32_FIND_DATAW m_current;
    bool m_haveCurrent;
};

}  // namespace win32plat
