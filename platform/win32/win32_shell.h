#pragma once
// Shell links through the shell's link object (CLSID_ShellLink, IShellLinkW,
// IPersistFile). The component system is initialised on request and released when
// the shell object goes, on the thread that made it.
#include "platform/shell.h"

namespace win32plat {

class Win32Shell : public plat::Shell {
public:
    Win32Shell() = default;
    ~Win32Shell() override;
    Win32Shell(const Win32Shell&) = delete;
    Win32Shell& operator=(const Win32Shell&) = delete;

    bool InitializeComponents() override;
    std::unique_ptr<plat::ShellLink> CreateLink() override;

private:
    // Successful initialisations, each balanced by one uninitialisation.
    int m_initialized = 0;
};

}  // namespace win32plat
