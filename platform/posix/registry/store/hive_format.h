#pragma once
// How a hive's file is written. Each format is a part of its own (the sandbox's REGEDIT4
// text; a Wine prefix's registry format, which keeps every line of a key we did not
// change as it was); the store knows only this interface.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/posix/registry/store/hive_tree.h"

namespace posixplat::reg {

class HiveFormat {
public:
    virtual ~HiveFormat() = default;
    // Reads `text` into `root`; false with "line N: reason" in `error`.
    virtual bool Parse(std::string_view text, HiveKey* root, std::string* error) = 0;
    // The file for `root`, a tree read by the last Parse (or a new hive) and changed
    // since; `sizeHint` is about how long it will be. False with the reason when it
    // cannot be written in this format.
    virtual bool Serialise(const HiveKey& root, std::size_t sizeHint, std::string* text, std::string* error) = 0;
    // The text of the last Serialise is now what the file holds.
    virtual void Written() {}
    // The file is gone: the next Serialise writes a new one.
    virtual void Absent() {}
    // Whether string values (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) are held as UTF-16LE
    // units, as Wine holds them, rather than in the ANSI code page as they are set.
    virtual bool WideStrings() const { return false; }
};


}  // namespace posixplat::reg
