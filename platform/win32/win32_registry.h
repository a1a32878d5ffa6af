#pragma once
// The registry over the Reg*W calls. Handles pass through as they are; the predefined
// roots are translated to the sign-extended values a 64-bit process uses. Names and
// text data (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) are UTF-8 here and UTF-16 in the
// registry; sizes count the UTF-8 bytes, as the A calls count their code page's.
#include "platform/registry.h"

namespace win32plat {

class Win32Registry : public plat::Registry {
public:
    plat::RegResult CreateKey(plat::RegKeyHandle parent, const std::string& subKey, plat::RegKeyHandle* key) override;
    plat::RegResult OpenKey(plat::RegKeyHandle parent, const std::string& subKey, std::uint32_t access,
                            plat::RegKeyHandle* key) override;
    plat::RegResult EnumKey(plat::RegKeyHandle key, std::uint32_t index, char* name, std::uint32_t* nameSize) override;
    plat::RegResult EnumValue(plat::RegKeyHandle key, std::uint32_t index, char* name,
                              std::uint32_t* nameSize) override;
    // The data are read whole into a buffer of this layer first: the system leaves a
    // buffer undefined when the data do not fit, and text sizes count UTF-8 bytes.
    plat::RegResult QueryValue(plat::RegKeyHandle key, const std::string& name, std::uint32_t* type,
                               unsigned char* data, std::uint32_t* size) override;
    plat::RegResult SetValue(plat::RegKeyHandle key, const std::string& name, std::uint32_t type,
                             const unsigned char* data, std::uint32_t size) override;
    plat::RegResult DeleteKey(plat::RegKeyHandle parent, const std::string& subKey) override;
    plat::RegResult CloseKey(plat::RegKeyHandle key) override;
};

}  // namespace win32plat
