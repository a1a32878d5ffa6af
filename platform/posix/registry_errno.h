#pragma once
// What a failed system call on a hive file means to a registry caller.
#include "platform/registry.h"

namespace posixplat::reg {

// kErrorAccessDenied for a permission refused, kErrorRegistryIoFailed for anything else.
plat::RegResult RegResultFromErrno(int error);

}  // namespace posixplat::reg
