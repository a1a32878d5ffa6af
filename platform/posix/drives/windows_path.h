#pragma once
// Windows paths (C:\Program Files\...) and the host paths they stand for.
//
// Only absolute, drive-qualified paths are accepted. Refused: a letter that no drive
// maps, drive-relative forms ("C:", "C:foo"), UNC and other forms without a drive
// letter, empty components other than trailing separators, "." and ".." components,
// and characters Windows does not allow in a name (NUL, control characters, <>:"|?*).
// With ".." refused and '/' taken as a separator, a translated path cannot name
// anything outside the drive's host folder.
#include <string>
#include <vector>

#include "platform/posix/drives/drive_table.h"
#include "platform/posix/drives/folder_name_cache.h"

namespace posixplat {

struct WindowsPath {
    char letter = 0;                      // upper case
    std::vector<std::string> components;  // empty for the drive root
};

// Splits an absolute drive path into its letter and components; false when malformed.
bool ParseWindowsPath(const std::string& path, WindowsPath* parsed);

// Walks `components` down from `hostFolder`. Each component that exists is taken by its
// exact name if there is an entry of that name, else by an entry of the folder whose
// name matches ignoring case (the first in byte order when several do). From the first
// component that does not exist on, components keep the names as given. Folders are
// listed through `cache` when one is given. `literal`, when given, is LiteralHostPath of
// the same folder and components, already made.
std::string ResolveCaseInsensitive(const std::string& hostFolder, const std::vector<std::string>& components,
                                   FolderNameCache* cache = nullptr, const std::string* literal = nullptr);

// The host path with every component as given, without looking at the disk. When it
// names an existing entry it is what ResolveCaseInsensitive finds, so operations on
// existing entries may try it first.
std::string LiteralHostPath(const std::string& hostFolder, const std::vector<std::string>& components);

// ParseWindowsPath, then ResolveCaseInsensitive below the drive's host folder.
bool TranslateWindowsPath(const std::vector<DriveMapping>& drives, const std::string& windowsPath,
                          std::string* hostPath, FolderNameCache* cache = nullptr);

// The folder part of an enumeration pattern: the folder path followed by "\*.*" or
// "\*" (with the separator kept, so "C:\*.*" gives "C:\"). False for other patterns.
bool FolderOfPattern(const std::string& pattern, std::string* folder);

// `folder` + "/" + `name`, without doubling the slash of the root folder.
std::string JoinHostPath(const std::string& folder, const std::string& name);

}  // namespace posixplat
