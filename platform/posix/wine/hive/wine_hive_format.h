#pragma once
// Wine's own registry files (a prefix's user.reg and system.reg), read into a hive tree
// and written back so that every key we did not change keeps its lines byte for byte:
//
//   WINE REGISTRY Version 2
//   ;; All keys relative to REGISTRY\\User\\S-1-5-21-0-0-0-1000
//
//   #arch=win64
//
//   [Software\\Velstra\\\x30cf\x30eb\x30cd\x30a2] 1796658380
//   #time=1dd86621ad5c47e
//   @="\x65e2\x5b9a\x5024"
//   "Count"=dword:00000003
//   "Folder"=str(2):"%ProgramFiles%\\Velstra"
//   "Discs"=str(7):"A\0B\0"
//   "Blob"=hex:00,01,ff
//
// Paths are relative to the hive (the line starting ";;" is a comment). A key has a
// section when it holds values or has no sub-keys; the others exist through their
// sub-keys' paths. The number after a section is the time the key last changed in Unix
// seconds, #time= the same as a FILETIME in hex, which Wine prefers when reading.
//
// In the tree:
// - key and value names are UTF-8 (the file holds UTF-16 units, escaped as
//   wine_string_escapes.h describes); the default value (@=) has the empty name;
// - a value's type is the one the file gives: "..." and str:"..." 1 (REG_SZ), str(2):
//   2 (REG_EXPAND_SZ), str(7): 7 (REG_MULTI_SZ), dword: 4, hex: 3, hex(N): N;
// - its data are the bytes Wine holds: the string forms give their UTF-16LE units plus a
//   zero unit (a REG_MULTI_SZ's inner terminators are \0 in the text, so "A\0B\0" is
//   A, 0, B, 0, 0), dword: four bytes little-endian, the hex forms their bytes. Text in
//   the ANSI code page is the caller's to convert.
// Written back, a value takes the form Wine gives it: a string form for types 1, 2 and 7
// when the data are whole UTF-16 units ending in a zero unit, dword: for type 4 with
// four bytes, hex: for type 3 and hex(N): for everything else (REG_QWORD is hex(b):,
// REG_NONE hex(0):), long hex data wrapped where Wine wraps it (a backslash ending the
// line, the next one indented by two spaces).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/registry/store/hive_tree.h"

namespace posixplat::reg {

// One section of the file and the lines that belong to it.
struct WineKeyBlock {
    // The key's names below the hive root, as the section gives them; empty for the root.
    std::vector<std::string> path;
    // Its bytes: the blank lines before the section line, the section line, its options
    // (#time= and any other line starting with '#'), its values with their continuation
    // lines, and any comment lines, up to the blank lines before the next section.
    std::string text;
    // What the key held when the file was read: its value lines as Wine writes them. A
    // key that holds anything else is written anew.
    std::string contents;
};

// A file as read: what a later write keeps of it.
struct WineHiveLayout {
    // Everything before the first section's blank lines: "WINE REGISTRY Version 2", the
    // ";; All keys relative to" line, blank lines, "#arch=".
    std::string header;
    std::vector<WineKeyBlock> blocks;  // in file order
};

// Reads `text` into `root` (whose name is the hive's own, e.g. "HKEY_CURRENT_USER") and
// `layout`. False, with "line N: reason" in `error`, when the text is not a registry
// file Wine wrote or could have written; `root` is then partly filled and is discarded.
bool ParseWineHive(std::string_view text, HiveKey* root, WineHiveLayout* layout, std::string* error);

// The file for `root`: the header and, in their order, the blocks of the keys that
// still hold what they held, unchanged; a key that holds something else written as Wine
// writes it with `fileTime` as its time, in place of its block (keeping its #link and
// #class lines; left out when Wine would now write no section for it); the blocks of
// deleted keys left out; new keys after all others, depth first in Wine's order (the
// root only when it holds values). Unlike Wine's server, a key does not take a new time
// when a sub-key of it is made or deleted, so that its lines stay as they were. `next`
// (optional) receives the layout of the text written, for the write after it. False
// only when a name in the tree is not valid UTF-8.
bool SerialiseWineHive(const HiveKey& root, const WineHiveLayout& layout, std::uint64_t fileTime,
                       std::string* text, WineHiveLayout* next, std::string* error);

// The current time as a FILETIME (100 ns units since 1601), as Wine stamps a key.
std::uint64_t WineFileTimeNow();

}  // namespace posixplat::reg
