#pragma once
// One key of a Wine registry file as Wine's server writes it (see wine_hive_format.h).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/registry/store/hive_tree.h"

namespace posixplat::reg {

// Wine writes a section for a key that holds values or has no sub-keys.
bool WineWritesSection(const HiveKey& key);

// The key's value lines, sorted as Wine sorts them. False when a value name is not
// valid UTF-8.
bool AppendWineValueLines(std::string& out, const HiveKey& key, std::string* error);

// The start of a section: the section line for `path` (the names below the root) with
// `fileTime`, and #time=. False when a name is not valid UTF-8.
bool AppendWineSectionLines(std::string& out, const std::vector<std::string>& path, std::uint64_t fileTime,
                            std::string* error);

// The key's section without the blank line before it: the section line for `path` (the
// names below the root) with `fileTime`, #time=, `options` (whole lines such as
// "#link\n"), then its value lines. False when a name is not valid UTF-8.
bool AppendWineKeySection(std::string& out, const std::vector<std::string>& path, const HiveKey& key,
                          std::uint64_t fileTime, std::string_view options, std::string* error);

}  // namespace posixplat::reg
