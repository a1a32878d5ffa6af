#include "platform/win32/win32_system_errors.h"

#include "platform/win32/win32_api.h"
#include "platform/win32/win32_wide_text.h"

namespace win32plat {
namespace {

// The system's message for `code` in the user's language, without its line break.
plat::SystemError Described(DWORD code) {
    wchar_t* message = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    std::wstring text = length > 0 ? std::wstring(message, length) : std::wstring();
    if (message) LocalFree(message);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
    if (text.empty()) text = L"unknown error";
    return {static_cast<long>(code), Narrow(text)};
}

}  // namespace

plat::SystemError Win32SystemErrors::LastError() { return Described(GetLastError()); }

plat::SystemError Win32SystemErrors::RegistryError(plat::RegResult result) {
    return Described(static_cast<DWORD>(result));
}

}  // namespace win32plat
