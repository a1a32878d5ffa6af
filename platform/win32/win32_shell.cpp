#include "platform/win32/win32_shell.h"

#include "platform/win32/win32_api.h"
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "platform/win32/com_ptr.h"
#include "platform/win32/win32_wide_text.h"

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
    explicit Win32ShellLink(ComPtr<IShellLinkW> link) : m_link(std::move(link)) {}

    bool SetPath(const std::string& path) override {
        const auto wide = Wide(path);
        return wide && Succeeded(m_link->SetPath(wide->c_str()));
    }
    bool ClearArguments() override { return Succeeded(m_link->SetArguments(nullptr)); }
    bool SetWorkingDirectory(const std::string& folder) override {
        const auto wide = Wide(folder);
        return wide && Succeeded(m_link->SetWorkingDirectory(wide->c_str()));
    }
    bool Save(const std::u16string& fileName) override {
        ComPtr<IPersistFile> file;
        if (!Succeeded(m_link->QueryInterface(IID_IPersistFile, file.PutVoid()))) return false;
        static_assert(sizeof(wchar_t) == sizeof(char16_t));
        return Succeeded(file->Save(reinterpret_cast<LPCOLESTR>(fileName.c_str()), TRUE));
    }

private:
    ComPtr<IShellLinkW> m_link;
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
    ComPtr<IShellLinkW> link;
    if (!Succeeded(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid()))) {
        return nullptr;
    }
    return std::make_unique<Win32ShellLink>(std::move(link));
}

}  // namespace win32plat
