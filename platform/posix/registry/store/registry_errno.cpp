#include "platform/posix/registry/store/registry_errno.h"

#include <cerrno>


namespace posixplat::reg {
namespace {

thread_local int t_lastHiveErrno = 0;

}  // namespace

plat::RegResult RegResultFromErrno(int error) {
    t_lastHiveErrno = error;
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return plat::kErrorAccessDenied;
    default:
        return kErrorRegistryIoFailed;
    }
}

int LastHiveErrno() { return t_lastHiveErrno; }

}  // namespace posixplat::reg
