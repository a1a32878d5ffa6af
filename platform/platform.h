#pragma once
// Everything the core needs from the system, in one place. Each build supplies one
// implementation; tests wrap the real one to inject faults.
#include "platform/file_system.h"
#include "platform/memory.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/system_error.h"
#include "platform/system_text.h"

namespace plat {

struct Platform {
    FileSystem& fileSystem;
    Registry& registry;
    Shell& shell;
    SystemText& text;
    Memory& memory;
    SystemErrors& errors;
};

}  // namespace plat
