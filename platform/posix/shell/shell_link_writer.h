#pragma once
// Puts the bytes of a shell link file on disk so that a failed save leaves no partial
// link and never damages an existing one.
#include <string>
#include <vector>

namespace posixplat {

// Writes `bytes` to a new file in the open folder `folderFd`, flushes it and renames it
// over `name` there. On failure nothing is left behind and an existing file is unchanged.
bool WriteShellLinkFile(int folderFd, const std::string& name, const std::vector<unsigned char>& bytes);

}  // namespace posixplat
