#pragma once
// FILETIME and the platform's 64-bit tick count are the same quantity.
#include "platform/win32/win32_api.h"

#include "platform/file_system.h"

namespace win32plat {

inline plat::FileTime FromFileTime(const FILETIME& time) {
    return (static_cast<plat::FileTime>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

inline FILETIME ToFileTime(plat::FileTime ticks) {
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFFu);
    time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return time;
}

}  // namespace win32plat
