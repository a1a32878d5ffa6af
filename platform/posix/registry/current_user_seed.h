#pragma once
// What a new current-user hive starts with: the shell folders of the user, so that
// shortcuts have a desktop and a Programs menu to go to.
#include <string>

#include "platform/posix/registry/store/hive_tree.h"

namespace posixplat::reg {

inline constexpr const char* kShellFoldersKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Adds the shell-folder key with "Desktop" and "Programs" below C:\users\<login>.
void SeedCurrentUserHive(HiveKey& root, const std::string& login);

}  // namespace posixplat::reg
