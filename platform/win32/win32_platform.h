#pragma once
// The Windows platform: the real file system, registry, shell links and text services
// of the system the program runs on. Includes no system header, so front-ends and
// tools can hold it without <windows.h>.
#include <memory>

#include "platform/platform.h"

namespace win32plat {

class Win32Platform {
public:
    Win32Platform();
    ~Win32Platform();
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    plat::Platform& platform();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace win32plat
