#include "platform/win32/win32_shell.h"

#include "platform/win32/win32_api.h"
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "platform/win32/com_ptr.h"

namespace win32plat {
namespace {

// A failed component call keeps its HRESULT as the thread's last error, where the
// system's message for it can be found like any other.
bool Succeeded(HRESULT result) {
    if (SUCCEEDED(result)) return true;
    SetLastError(static_cast<DWORD>(result));
    return false;
}

class Win32ShellLink : public plat::ShellLink {
public:
    explicit Win32ShellLink(ComPtr<IShellLinkA> link) : m_link(std::move(link)) {}

    bool SetPath(const std::string& path) override { return Succeeded(m_link->SetPath(path.c_str())); }
    bool ClearArguments() override { return Succeeded(m_link->SetArguments(nullptr)); }
    bool SetWorkingDirectory(const std::string& folder) override {
        return Succeeded(m_link->SetWorkingDirectory(folder.c_str()));
    }
    bool Save(const std::u16string& fileName) override {
        ComPtr<IPersistFile> file;
        if (!Succeeded(m_link->QueryInterface(IID_IPersistFile, file.PutVoid()))) return false;
        // wchar_t is the same 16-bit unit as char16_t on this target.
        static_assert(sizeof(wchar_t) == sizeof(char16_t));
        return Succeeded(file->Save(reinterpret_cast<LPCOLESTR>(fileName.c_str()), TRUE));
    }

private:
    ComPtr<IShellLinkA> m_link;
};

}  // namespace

Win32Shell::~Win32Shell() {
    for (; m_initialized > 0; --m_initialized) CoUninitialize();
}

bool Win32Shell::InitializeComponents() {
    // S_FALSE (already initialised on this thread) counts too and is balanced as well.
    if (!Succeeded(CoInitialize(nullptr))) return false;
    ++m_initialized;
    return true;
}

std::unique_ptr<plat::ShellLink> Win32Shell::CreateLink() {
    ComPtr<IShellLinkA> link;
    if (!Succeeded(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.PutVoid()))) {
        return nullptr;
    }
    return std::make_unique<Win32ShellLink>(std::move(link));
}

}  // namespace win32plat
