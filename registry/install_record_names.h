#pragma once
// The names and texts of the install record that its writers put down and the detector
// reads back (the key itself is string 103).
inline constexpr const char* kRecordInstallFolder = "Path";    // where the game is installed
inline constexpr const char* kRecordSourceRoot = "CDPath";     // where its data come from
inline constexpr const char* kRecordSetupMode = "SetupMode";   // one of the two texts below
inline constexpr const char* kRecordVoiceInstalled = "Install KOE";  // DWORD 0 or 1

// SetupMode after a minimum install, and after a normal or a full one.
inline constexpr const char* kSetupModeMinimum = "Setup_MIN";
inline constexpr const char* kSetupModeMaximum = "Setup_MAX";
