#pragma once
// The system's errors on Linux. Every failing call of this layer leaves errno set, as
// the C library does (its own refusals set it too), and the registry keeps the errno of
// the hive file behind an ERROR_REGISTRY_IO_FAILED.
#include "platform/system_error.h"

namespace posixplat {

class PosixSystemErrors : public plat::SystemErrors {
public:
    plat::SystemError LastError() override;
    plat::SystemError RegistryError(plat::RegResult result) override;
};

}  // namespace posixplat
