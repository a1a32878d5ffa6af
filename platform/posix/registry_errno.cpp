#include "platform/posix/registry_errno.h"

#include <cerrno>

#include "platform/posix/posix_registry.h"

namespace posixplat::reg {

plat::RegResult RegResultFromErrno(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return plat::kErrorAccessDenied;
    default:
        return kErrorRegistryIoFailed;
    }
}

}  // namespace posixplat::reg
