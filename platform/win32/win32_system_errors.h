#pragma once
// The system's errors on Windows: GetLastError of the failed call (this layer sets it
// where it refuses something itself) and the system's message for it.
#include "platform/system_error.h"

namespace win32plat {

class Win32SystemErrors : public plat::SystemErrors {
public:
    plat::SystemError LastError() override;
    plat::SystemError RegistryError(plat::RegResult result) override;
};

}  // namespace win32plat
