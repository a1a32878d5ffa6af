#include "platform/win32/win32_registry.h"

#include "platform/win32/win32_api.h"

#include <algorithm>
#include <vector>

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

}  // namespace

plat::RegResult Win32Registry::CreateKey(plat::RegKeyHandle parent, const std::string& subKey,
                                         plat::RegKeyHandle* key) {
    HKEY created = nullptr;
    DWORD disposition = 0;
    const LONG result = RegCreateKeyExA(ToHkey(parent), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        KEY_ALL_ACCESS, nullptr, &created, &disposition);
    if (result == ERROR_SUCCESS) *key = FromHkey(created);
    return result;
}

plat::RegResult Win32Registry::OpenKey(plat::RegKeyHandle parent, const std::string& subKey, std::uint32_t access,
                                       plat::RegKeyHandle* key) {
    HKEY opened = nullptr;
    const LONG result = RegOpenKeyExA(ToHkey(parent), subKey.c_str(), 0, access, &opened);
    if (result == ERROR_SUCCESS) *key = FromHkey(opened);
    return result;
}

plat::RegResult Win32Registry::EnumKey(plat::RegKeyHandle key, std::uint32_t index, char* name,
                                       std::uint32_t* nameSize) {
    DWORD size = *nameSize;
    const LONG result = RegEnumKeyExA(ToHkey(key), index, name, &size, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_SUCCESS) *nameSize = size;
    return result;
}

plat::RegResult Win32Registry::EnumValue(plat::RegKeyHandle key, std::uint32_t index, char* name,
                                         std::uint32_t* nameSize) {
    DWORD size = *nameSize;
    const LONG result = RegEnumValueA(ToHkey(key), index, name, &size, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_SUCCESS) *nameSize = size;
    return result;
}

plat::RegResult Win32Registry::QueryValue(plat::RegKeyHandle key, const std::string& name, std::uint32_t* type,
                                          unsigned char* data, std::uint32_t* size) {
    DWORD valueType = 0;
    DWORD needed = 0;
    LONG result = RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &valueType, nullptr, &needed);
    if (result != ERROR_SUCCESS) return result;
    if (data == nullptr) {
        if (type) *type = valueType;
        *size = needed;
        return ERROR_SUCCESS;
    }
    if (needed > *size) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    // The value may have grown between the two calls; the second one says so.
    std::vector<unsigned char> own(needed ? needed : 1);
    DWORD got = needed;
    result = RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &valueType, own.data(), &got);
    if (result == ERROR_MORE_DATA || (result == ERROR_SUCCESS && got > *size)) {
        *size = got;
        return ERROR_MORE_DATA;
    }
    if (result != ERROR_SUCCESS) return result;
    std::copy(own.begin(), own.begin() + got, data);
    if (type) *type = valueType;
    *size = got;
    return ERROR_SUCCESS;
}

plat::RegResult Win32Registry::SetValue(plat::RegKeyHandle key, const std::string& name, std::uint32_t type,
                                        const unsigned char* data, std::uint32_t size) {
    return RegSetValueExA(ToHkey(key), name.c_str(), 0, type, data, size);
}

plat::RegResult Win32Registry::DeleteKey(plat::RegKeyHandle parent, const std::string& subKey) {
    return RegDeleteKeyA(ToHkey(parent), subKey.c_str());
}

plat::RegResult Win32Registry::CloseKey(plat::RegKeyHandle key) { return RegCloseKey(ToHkey(key)); }

}  // namespace win32plat
