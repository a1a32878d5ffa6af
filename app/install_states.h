#pragma once
// What DetectInstallState finds on the system: which install mode was completed last.
// A larger state includes everything of the smaller ones.
inline constexpr int kInstallStateNone = 0;     // nothing installed
inline constexpr int kInstallStateMinimum = 1;  // the base set
inline constexpr int kInstallStateNormal = 2;   // the base and voice sets
inline constexpr int kInstallStateFull = 3;     // every set; the disc is no longer needed
