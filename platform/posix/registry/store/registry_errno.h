#pragma once
// What a failed system call on a hive file means to a registry caller.
#include "platform/registry.h"

namespace posixplat {

// ERROR_REGISTRY_IO_FAILED: the hive file could not be read or written.
inline constexpr plat::RegResult kErrorRegistryIoFailed = 1016;

}  // namespace posixplat

namespace posixplat::reg {

// kErrorAccessDenied for a permission refused, kErrorRegistryIoFailed for anything else.
// Keeps `error` for LastHiveErrno.
plat::RegResult RegResultFromErrno(int error);

// The errno of the last hive file call that failed on this thread; 0 before any.
int LastHiveErrno();

}  // namespace posixplat::reg
