#include "platform/win32/win32_registry.h"

#include "platform/win32/win32_api.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win32/win32_wide_text.h"

namespace win32plat {
namespace {

// The predefined roots are 32-bit values that a 64-bit HKEY holds sign-extended.
// HKEY_DYN_DATA belonged to Windows 9x; Windows NT refuses it as an invalid handle, but
// Wine keeps a key there, so it is refused here for both.
HKEY ToHkey(plat::RegKeyHandle handle) {
    if (handle == plat::kHkeyDynData) return nullptr;
    if (handle >= plat::kHkeyClassesRoot && handle <= plat::kHkeyDynData) {
        return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(static_cast<DWORD>(handle))));
    }
    return reinterpret_cast<HKEY>(handle);
}

plat::RegKeyHandle FromHkey(HKEY key) { return reinterpret_cast<plat::RegKeyHandle>(key); }

// The longest names the registry makes, in UTF-16 units with the terminator.
constexpr DWORD kKeyNameUnits = 256;
constexpr DWORD kValueNameUnits = 16384;

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// Text data as the program holds it, UTF-8 with its zeros where the UTF-16 had them;
// other data as it is. An odd last byte of text data is not half a character.
std::string ProgramData(DWORD type, const std::vector<unsigned char>& stored) {
    if (!IsText(type)) return std::string(stored.begin(), stored.end());
    std::wstring wide(stored.size() / 2, L'\0');
    std::memcpy(wide.data(), stored.data(), wide.size() * sizeof(wchar_t));
    return Narrow(wide);
}

// A name listed into a caller's buffer of `*nameSize` bytes, as the A calls fill it.
plat::RegResult HandOut(const wchar_t* wide, DWORD units, char* name, std::uint32_t* nameSize) {
    const std::string text = Narrow(wide, units);
    if (text.size() + 1 > *nameSize) return ERROR_MORE_DATA;
    std::memcpy(name, text.c_str(), text.size() + 1);
    *nameSize = static_cast<std::uint32_t>(text.size());
    return ERROR_SUCCESS;
}

// The whole value as stored, however much it grows between the size and the read.
LONG ReadStored(HKEY key, const wchar_t* name, DWORD* type, std::vector<unsigned char>* stored) {
    for (;;) {
        DWORD needed = 0;
        LONG result = RegQueryValueExW(key, name, nullptr, type, nullptr, &needed);
        if (result != ERROR_SUCCESS) return result;
        stored->assign(needed ? needed : 1, 0);
        DWORD got = needed;
        result = RegQueryValueExW(key, name, nullptr, type, stored->data(), &got);
        if (result == ERROR_MORE_DATA) continue;
        if (result != ERROR_SUCCESS) return result;
        stored->resize(got);
        return ERROR_SUCCESS;
    }
}

}  // namespace

plat::RegResult Win32Registry::CreateKey(plat::RegKeyHandle parent, const std::string& subKey,
                                         plat::RegKeyHandle* key) {
    const auto wide = Wide(subKey);
    if (!wide) return ERROR_NO_UNICODE_TRANSLATION;
    HKEY created = nullptr;
    DWORD disposition = 0;
    const LONG result = RegCreateKeyExW(ToHkey(parent), wide->c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        KEY_ALL_ACCESS, nullptr, &created, &disposition);
    if (result == ERROR_SUCCESS) *key = FromHkey(created);
    return result;
}

plat::RegResult Win32Registry::OpenKey(plat::RegKeyHandle parent, const std::string& subKey, std::uint32_t access,
                                       plat::RegKeyHandle* key) {
    const auto wide = Wide(subKey);
    if (!wide) return ERROR_NO_UNICODE_TRANSLATION;
    HKEY opened = nullptr;
    const LONG result = RegOpenKeyExW(ToHkey(parent), wide->c_str(), 0, access, &opened);
    if (result == ERROR_SUCCESS) *key = FromHkey(opened);
    return result;
}

plat::RegResult Win32Registry::EnumKey(plat::RegKeyHandle key, std::uint32_t index, char* name,
                                       std::uint32_t* nameSize) {
    wchar_t wide[kKeyNameUnits];
    DWORD units = kKeyNameUnits;
    const LONG result = RegEnumKeyExW(ToHkey(key), index, wide, &units, nullptr, nullptr, nullptr, nullptr);
    if (result != ERROR_SUCCESS) return result;
    return HandOut(wide, units, name, nameSize);
}

plat::RegResult Win32Registry::EnumValue(plat::RegKeyHandle key, std::uint32_t index, char* name,
                                         std::uint32_t* nameSize) {
    std::vector<wchar_t> wide(kValueNameUnits);
    DWORD units = kValueNameUnits;
    const LONG result = RegEnumValueW(ToHkey(key), index, wide.data(), &units, nullptr, nullptr, nullptr, nullptr);
    if (result != ERROR_SUCCESS) return result;
    return HandOut(wide.data(), units, name, nameSize);
}

plat::RegResult Win32Registry::QueryValue(plat::RegKeyHandle key, const std::string& name, std::uint32_t* type,
                                          unsigned char* data, std::uint32_t* size) {
    const auto wide = Wide(name);
    if (!wide) return ERROR_NO_UNICODE_TRANSLATION;
    DWORD valueType = 0;
    std::vector<unsigned char> stored;
    const LONG result = ReadStored(ToHkey(key), wide->c_str(), &valueType, &stored);
    if (result != ERROR_SUCCESS) return result;
    const std::string value = ProgramData(valueType, stored);
    const auto needed = static_cast<std::uint32_t>(value.size());
    if (data != nullptr && needed > *size) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    if (data != nullptr) std::copy(value.begin(), value.end(), data);
    if (type) *type = valueType;
    *size = needed;
    return ERROR_SUCCESS;
}

plat::RegResult Win32Registry::SetValue(plat::RegKeyHandle key, const std::string& name, std::uint32_t type,
                                        const unsigned char* data, std::uint32_t size) {
    const auto wideName = Wide(name);
    if (!wideName) return ERROR_NO_UNICODE_TRANSLATION;
    if (!IsText(type)) return RegSetValueExW(ToHkey(key), wideName->c_str(), 0, type, data, size);
    // Text is stored in UTF-16, the terminator and any inner zeros included as given.
    const auto wideData = Wide(reinterpret_cast<const char*>(data), size);
    if (!wideData) return ERROR_NO_UNICODE_TRANSLATION;
    return RegSetValueExW(ToHkey(key), wideName->c_str(), 0, type, reinterpret_cast<const BYTE*>(wideData->data()),
                          static_cast<DWORD>(wideData->size() * sizeof(wchar_t)));
}

plat::RegResult Win32Registry::DeleteKey(plat::RegKeyHandle parent, const std::string& subKey) {
    const auto wide = Wide(subKey);
    if (!wide) return ERROR_NO_UNICODE_TRANSLATION;
    return RegDeleteKeyW(ToHkey(parent), wide->c_str());
}

plat::RegResult Win32Registry::CloseKey(plat::RegKeyHandle key) { return RegCloseKey(ToHkey(key)); }

}  // namespace win32plat
