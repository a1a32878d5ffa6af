#pragma once
// The registry on Linux: one REGEDIT4 text file per hive under a folder, every change
// written to a temporary file, flushed and renamed over the hive under an exclusive
// lock. A hive file that cannot be parsed is an error and is never overwritten.
//
// Behaviour beyond plat::Registry's comments:
// - HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS and
//   HKEY_CURRENT_CONFIG are the files <folder>/<HIVE NAME>.reg. HKEY_PERFORMANCE_DATA
//   and HKEY_DYN_DATA cannot be stored: every call on them, CloseKey included, returns
//   kErrorInvalidHandle.
// - A sub-key path with a leading backslash or an empty component names no key
//   (kErrorFileNotFound); a trailing backslash is ignored; an empty path opens (or, for
//   DeleteKey, deletes) the key itself. A hive root cannot be deleted (kErrorAccessDenied).
// - Key and value names must be UTF-8 text without control characters other than tab
//   (the file holds one name a line); key names at most 255 bytes. CreateKey or SetValue
//   with another name returns kErrorInvalidParameter.
// - Every call on a hive whose file does not parse returns kErrorBadDb; a file that
//   cannot be read or written kErrorAccessDenied (permissions) or
//   kErrorRegistryIoFailed (anything else).
// - A handle names its key by path. One to a key deleted by this object fails with
//   kErrorKeyDeleted for good; one to a key deleted by another process fails while no
//   key of that name exists.
// - Access is checked loosely: SetValue needs KEY_SET_VALUE, QueryValue and EnumValue
//   KEY_QUERY_VALUE, EnumKey KEY_ENUMERATE_SUB_KEYS, creating a sub-key
//   KEY_CREATE_SUB_KEY on the parent. Handles from CreateKey have all access.
#include <memory>
#include <string>
#include <vector>

#include "platform/posix/registry/store/hive_format.h"
#include "platform/posix/registry/store/hive_store.h"
#include "platform/posix/registry/store/registry_errno.h"
#include "platform/registry.h"

namespace posixplat {

// A predefined key kept in a file: <folder>/<fileName> in `format`, its root key named
// `hiveName`. A format that holds string values as UTF-16 gets and gives them in the
// ANSI code page, as through the A functions. Predefined keys without a file fail every
// call with kErrorInvalidHandle.
struct HiveFile {
    plat::RegKeyHandle root;
    std::string folder;
    std::string fileName;
    std::string hiveName;
    reg::HiveStore::Seed seed;
    std::unique_ptr<reg::HiveFormat> format;
};

class PosixRegistry : public plat::Registry {
public:
    // `folder` is <root>/registry; `login` names the user for the shell folders written
    // into the current user's hive when it is first created.
    PosixRegistry(const std::string& folder, const std::string& login);
    explicit PosixRegistry(std::vector<HiveFile> hives);
    ~PosixRegistry() override;

    plat::RegResult CreateKey(plat::RegKeyHandle parent, const std::string& subKey, plat::RegKeyHandle* key) override;
    plat::RegResult OpenKey(plat::RegKeyHandle parent, const std::string& subKey, std::uint32_t access,
                            plat::RegKeyHandle* key) override;
    plat::RegResult EnumKey(plat::RegKeyHandle key, std::uint32_t index, char* name, std::uint32_t* nameSize) override;
    plat::RegResult EnumValue(plat::RegKeyHandle key, std::uint32_t index, char* name,
                              std::uint32_t* nameSize) override;
    plat::RegResult QueryValue(plat::RegKeyHandle key, const std::string& name, std::uint32_t* type,
                               unsigned char* data, std::uint32_t* size) override;
    plat::RegResult SetValue(plat::RegKeyHandle key, const std::string& name, std::uint32_t type,
                             const unsigned char* data, std::uint32_t size) override;
    plat::RegResult DeleteKey(plat::RegKeyHandle parent, const std::string& subKey) override;
    plat::RegResult CloseKey(plat::RegKeyHandle key) override;

    // Whether every hive file that exists can be read and parses. When one cannot, false,
    // with a line for each such hive appended to `problems`:
    // "<file path>: line N: <reason>" for text that does not parse, "<file path>: <reason>"
    // for a file that cannot be read or is not a regular file.
    bool CheckHives(std::vector<std::string>* problems);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace posixplat
