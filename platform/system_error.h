#pragma once
// The system's own account of why a call failed, for the install journal: the core
// itself only sees a failed result and never asks.
#include <string>

#include "platform/registry.h"

namespace plat {

struct SystemError {
    long code = 0;     // errno on Linux; a Win32 error code (or HRESULT) on Windows
    std::string text;  // the system's words for it, UTF-8
};

class SystemErrors {
public:
    virtual ~SystemErrors() = default;
    // The error of the last call of the file system, an open file or the shell that
    // failed on this thread. Read right after the failed call: any later call may
    // replace it.
    virtual SystemError LastError() = 0;
    // What a registry call's result means: the registry returns its error instead of
    // keeping it.
    virtual SystemError RegistryError(RegResult result) = 0;
};

}  // namespace plat
