#include "platform/win32/win32_platform.h"

#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_memory.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_system_errors.h"
#include "platform/win32/win32_system_text.h"

namespace win32plat {

struct Win32Platform::Impl {
    Win32FileSystem fileSystem;
    Win32Registry registry;
    Win32Shell shell;
    Win32SystemText text;
    Win32Memory memory;
    Win32SystemErrors errors;
    plat::Platform platform{fileSystem, registry, shell, text, memory, errors};
};

Win32Platform::Win32Platform() : m_impl(std::make_unique<Impl>()) {}

Win32Platform::~Win32Platform() = default;

plat::Platform& Win32Platform::platform() { return m_impl->platform; }

}  // namespace win32plat
