#pragma once
// Wine's registry file format as a hive store's format.
#include <memory>
#include <string>

#include "platform/posix/registry/store/hive_format.h"

namespace posixplat::reg {

// `header` starts a file that does not exist yet ("WINE REGISTRY Version 2", the line
// saying what the keys are relative to, "#arch=").
std::unique_ptr<HiveFormat> MakeWineFormat(std::string header);

}  // namespace posixplat::reg
