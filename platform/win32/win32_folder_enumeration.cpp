#include "platform/win32/win32_folder_enumeration.h"

#include <cwchar>

#include "platform/win32/win32_wide_text.h"

namespace win32plat {
namespace {

bool IsDotEntry(const wchar_t* name) { return std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0; }

// "." and ".." are not delivered, and neither are folders that are reparse points
// (junctions, symbolic links): a copy driven by the enumeration must not loop.
bool IsDelivered(const WIN32_FIND_DATAW& data) {
    if (IsDotEntry(data.cFileName)) return false;
    const DWORD folderLink = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    return (data.dwFileAttributes & folderLink) != folderLink;
}

}  // namespace

std::unique_ptr<plat::FolderEnumeration> Win32FolderEnumeration::Start(const std::string& pattern) {
    const auto wide = Wide(pattern);
    if (!wide) return nullptr;
    WIN32_FIND_DATAW first;
    UniqueFindHandle handle(FindFirstFileW(wide->c_str(), &first));
    if (!handle.Valid()) {
        // A drive root has no "." entry, so an empty one finds nothing at all.
        if (GetLastError() != ERROR_FILE_NOT_FOUND) return nullptr;
    }
    return std::unique_ptr<plat::FolderEnumeration>(new Win32FolderEnumeration(std::move(handle), first));
}

Win32FolderEnumeration::Win32FolderEnumeration(UniqueFindHandle handle, const WIN32_FIND_DATAW& first)
    : m_handle(std::move(handle)), m_current(first), m_haveCurrent(m_handle.Valid()) {}

bool Win32FolderEnumeration::Next(plat::FolderEntry* entry) {
    while (m_haveCurrent) {
        const WIN32_FIND_DATAW data = m_current;
        m_haveCurrent = FindNextFileW(m_handle.Get(), &m_current) != FALSE;
        if (!IsDelivered(data)) continue;
        entry->name = Narrow(data.cFileName);
        entry->isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        return true;
    }
    return false;
}

}  // namespace win32plat
