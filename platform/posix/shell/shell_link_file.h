#pragma once
// The bytes of a shell link file (.lnk, MS-SHLLINK) for a link to a file on a local
// drive: no target ID list, the target described by LinkInfo (volume and local base
// path), the working directory as counted UTF-16 text, no arguments.
//
// Readers differ in what they take the target from: Windows prefers the Unicode base
// path, Wine reads only the ANSI one and decodes it in its own ANSI code page. So a
// target that is not plain ASCII gets both, the ANSI copy in the code page the reading
// system is expected to use.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace posixplat {

struct ShellLinkData {
    // The target as a Windows path on a drive: C:\Program Files\...\GAME.EXE.
    std::u16string targetPath;
    // The same path in an ANSI code page, for the LocalBasePath field.
    std::string targetPathAnsi;
    // Empty: the link has no working directory.
    std::u16string workingDirectory;
    // Of the drive holding the target.
    plat::DriveType driveType = plat::DriveType::Fixed;
    // What the target looked like when the link was made; zeros for a target that does
    // not exist (yet).
    std::uint32_t fileAttributes = 0;
    plat::FileTime creationTime = 0;
    plat::FileTime accessTime = 0;
    plat::FileTime writeTime = 0;
    std::uint32_t fileSize = 0;  // the low 32 bits of the size
};

// The whole file. Empty when the data cannot be represented: an empty target, a NUL
// inside the target, or a working directory of more than 65535 UTF-16 units.
std::vector<unsigned char> SerializeShellLink(const ShellLinkData& link);

}  // namespace posixplat
