#pragma once
// The kinds of operation a countdown counts and fails. Each is one call of the platform
// that changes or reads the system and can fail there: a sweep that fails every one of
// them in turn walks every way a run can be cut short.
#include <cstdint>

namespace faultplat {

enum class Op : unsigned {
    Read,            // File::Read
    Write,           // File::Write
    Open,            // FileSystem::OpenForRead, OpenForWrite
    CreateFolder,    // FileSystem::CreateFolder
    Delete,          // FileSystem::RemoveFile, RemoveFolder
    Status,          // FileSystem::Exists, GetStatus, SetStatus; File::GetStatus
    List,            // FileSystem::Enumerate
    RegistryOpen,    // Registry::OpenKey
    RegistryList,    // Registry::EnumKey, EnumValue
    RegistryQuery,   // Registry::QueryValue
    RegistryCreate,  // Registry::CreateKey
    RegistrySet,     // Registry::SetValue
    RegistryDelete,  // Registry::DeleteKey
    LinkCreate,      // Shell::CreateLink
    LinkSave,        // ShellLink::Save
    Flush,           // FileSystem::FlushDrive
};
inline constexpr unsigned kOpCount = 16;

// A set of kinds, one bit each.
using OpMask = std::uint32_t;
constexpr OpMask Bit(Op op) { return OpMask{1} << static_cast<unsigned>(op); }
inline constexpr OpMask kAllOps = (OpMask{1} << kOpCount) - 1;

// "read", "write", ...: for test messages.
const char* OpName(Op op);

}  // namespace faultplat
