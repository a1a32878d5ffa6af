#pragma once
// The REGEDIT4 text of one hive:
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\Velstra\Mirel]
//   "Path"="C:\\Program Files\\Velstra\\Mirel"
//   "Install KOE"=dword:00000000
//   @=hex(3):01,00,ff
//
// Every key has its own section (empty keys included), in enumeration order, depth
// first; the hive's own section appears only when the hive root holds values. A value
// is written as a quoted string only when it is a clean string (REG_SZ: one line of
// valid UTF-8 followed by exactly one zero byte), as dword: when it is a REG_DWORD of
// four bytes, and as hex(N): otherwise, so every type and every byte survives. In quoted
// text only \\ and \" are escapes.
#include <string>
#include <string_view>

#include <memory>

#include "platform/posix/registry/store/hive_format.h"
#include "platform/posix/registry/store/hive_tree.h"

namespace posixplat::reg {

// `expectedSize` (the size of the file the hive was read from, say) is room reserved at
// once: a hive of megabytes is then never held twice while its text grows.
std::string SerialiseHive(const HiveKey& root, std::size_t expectedSize = 0);

// Reads `text` into `root` (whose name is the hive name every section must start with).
// False, with the line and the reason in `error`, when the text is not such a hive;
// `root` is then partly filled and must be discarded.
bool ParseHive(std::string_view text, HiveKey* root, std::string* error);

// True when `data` of type `type` is written as a quoted string.
bool IsCleanString(std::uint32_t type, std::string_view data);

// The format for a hive store.
std::unique_ptr<HiveFormat> MakeRegedit4Format();

}  // namespace posixplat::reg
