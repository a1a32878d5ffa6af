#include "platform/posix/posix_system_errors.h"

#include <cerrno>
#include <system_error>

#include "platform/posix/image/image_read_errors.h"
#include "platform/posix/registry/posix_registry.h"
#include "platform/posix/registry/store/registry_errno.h"

namespace posixplat {
namespace {

struct RegistryErrorText {
    plat::RegResult code;
    const char* text;
};

// The Win32 codes this registry returns, by their Win32 names.
constexpr RegistryErrorText kRegistryErrors[] = {
    {plat::kErrorFileNotFound, "ERROR_FILE_NOT_FOUND: no such key or value"},
    {plat::kErrorAccessDenied, "ERROR_ACCESS_DENIED: access denied"},
    {plat::kErrorInvalidHandle, "ERROR_INVALID_HANDLE: not an open key"},
    {plat::kErrorInvalidParameter, "ERROR_INVALID_PARAMETER: a name the registry cannot hold"},
    {plat::kErrorMoreData, "ERROR_MORE_DATA: larger than the buffer"},
    {plat::kErrorNoMoreItems, "ERROR_NO_MORE_ITEMS: no more entries"},
    {plat::kErrorBadDb, "ERROR_BADDB: a hive file is damaged"},
    {kErrorRegistryIoFailed, "ERROR_REGISTRY_IO_FAILED: a hive file could not be read or written"},
    {plat::kErrorKeyDeleted, "ERROR_KEY_DELETED: the key has been deleted"},
};

std::string ErrnoText(int error) { return std::generic_category().message(error); }

}  // namespace

plat::SystemError PosixSystemErrors::LastError() {
    const int error = errno;
    std::string why;
    if (TakeImageReadError(error, &why)) return {error, ErrnoText(error) + ": " + why};
    return {error, ErrnoText(error)};
}

plat::SystemError PosixSystemErrors::RegistryError(plat::RegResult result) {
    for (const RegistryErrorText& known : kRegistryErrors) {
        if (known.code != result) continue;
        std::string text = known.text;
        if (result == kErrorRegistryIoFailed && reg::LastHiveErrno() != 0) text += ": " + ErrnoText(reg::LastHiveErrno());
        return {result, text};
    }
    return {result, "registry error"};
}

}  // namespace posixplat
