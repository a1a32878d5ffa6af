#pragma once
// The shell folders that receive the game's shortcuts, as CreateShellShortcut and
// RemoveShellShortcut take them.
inline constexpr int kShellFolderDesktop = 0;
inline constexpr int kShellFolderPrograms = 1;
