#pragma once
// Loads a shell link with the system's own link object (IShellLinkA through
// IPersistFile::Load) and reads back what the installer sets.
#include <string>

namespace win32test {

struct LinkContents {
    std::string path;              // GetPath, ANSI code page
    std::string workingDirectory;  // GetWorkingDirectory
    std::string arguments;         // GetArguments
};

// Requires the component system initialised on this thread. False when the file cannot
// be loaded as a link; `error` says which step failed.
bool ReadShellLink(const std::wstring& fileName, LinkContents* contents, std::string* error);

}  // namespace win32test
