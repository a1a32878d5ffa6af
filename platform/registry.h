#pragma once
// The registry with Win32 semantics: handles, predefined root keys, Win32 error codes.
#include <cstdint>
#include <string>

namespace plat {

using RegKeyHandle = std::uintptr_t;
inline constexpr RegKeyHandle kNullKey = 0;
inline constexpr RegKeyHandle kHkeyClassesRoot = 0x80000000u;
inline constexpr RegKeyHandle kHkeyCurrentUser = 0x80000001u;
inline constexpr RegKeyHandle kHkeyLocalMachine = 0x80000002u;
inline constexpr RegKeyHandle kHkeyUsers = 0x80000003u;
inline constexpr RegKeyHandle kHkeyPerformanceData = 0x80000004u;
inline constexpr RegKeyHandle kHkeyCurrentConfig = 0x80000005u;
inline constexpr RegKeyHandle kHkeyDynData = 0x80000006u;

// Win32 error codes the registry returns.
using RegResult = long;
inline constexpr RegResult kErrorSuccess = 0;
inline constexpr RegResult kErrorFileNotFound = 2;
inline constexpr RegResult kErrorAccessDenied = 5;
inline constexpr RegResult kErrorInvalidHandle = 6;
inline constexpr RegResult kErrorInvalidParameter = 87;
inline constexpr RegResult kErrorMoreData = 234;
inline constexpr RegResult kErrorNoMoreItems = 259;
inline constexpr RegResult kErrorBadDb = 1009;
inline constexpr RegResult kErrorKeyDeleted = 1018;

// Value types.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

// Access masks.
inline constexpr std::uint32_t kKeyQueryValue = 0x0001;
inline constexpr std::uint32_t kKeySetValue = 0x0002;
inline constexpr std::uint32_t kKeyCreateSubKey = 0x0004;
inline constexpr std::uint32_t kKeyEnumerateSubKeys = 0x0008;
inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyWrite = 0x20006;
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;

class Registry {
public:
    virtual ~Registry() = default;
    // RegCreateKeyEx: creates missing keys on the way, opens an existing one.
    virtual RegResult CreateKey(RegKeyHandle parent, const std::string& subKey, RegKeyHandle* key) = 0;
    // RegOpenKeyEx.
    virtual RegResult OpenKey(RegKeyHandle parent, const std::string& subKey, std::uint32_t access,
                              RegKeyHandle* key) = 0;
    // RegEnumKeyEx: `*nameSize` is the capacity of `name` in bytes on entry and the
    // length without terminator on success; kErrorMoreData when it does not fit.
    virtual RegResult EnumKey(RegKeyHandle key, std::uint32_t index, char* name, std::uint32_t* nameSize) = 0;
    // RegEnumValue, name only.
    virtual RegResult EnumValue(RegKeyHandle key, std::uint32_t index, char* name, std::uint32_t* nameSize) = 0;
    // RegQueryValueEx: `*size` is the capacity of `data` on entry and the data size on
    // success; with too small a buffer kErrorMoreData and `data` left alone.
    virtual RegResult QueryValue(RegKeyHandle key, const std::string& name, std::uint32_t* type,
                                 unsigned char* data, std::uint32_t* size) = 0;
    // RegSetValueEx.
    virtual RegResult SetValue(RegKeyHandle key, const std::string& name, std::uint32_t type,
                               const unsigned char* data, std::uint32_t size) = 0;
    // RegDeleteKey: kErrorAccessDenied while the key still has sub-keys.
    virtual RegResult DeleteKey(RegKeyHandle parent, const std::string& subKey) = 0;
    virtual RegResult CloseKey(RegKeyHandle key) = 0;
};

}  // namespace plat
