#pragma once
// The registry on Linux: one REGEDIT4 text file per hive under a folder, every change
// written to a temporary file, flushed and renamed over the hive under an exclusive
// lock. A hive file that cannot be parsed is an error and is never overwritten.
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/registry.h"

namespace posixplat {

class PosixRegistry : public plat::Registry {
public:
    // `folder` is <root>/registry; `login` names the user for the shell folders written
    // into the current user's hive when it is first created.
    PosixRegistry(const std::string& folder, const std::string& login);
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

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace posixplat
