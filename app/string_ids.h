#pragma once
// Identifiers of the string-table entries the installer reads. Everything
// product-specific lives in those entries; only their numbers are compiled in.

inline constexpr unsigned IDS_TITLE = 102;            // game title, name of the shortcuts
inline constexpr unsigned IDS_RECORD_KEY = 103;       // registry key of the install record
inline constexpr unsigned IDS_EXECUTABLE = 104;       // target of the shortcuts
inline constexpr unsigned IDS_MARKER_FILE = 105;      // identifies the game disc
inline constexpr unsigned IDS_INSTALL_FOLDER = 106;   // below the destination drive
inline constexpr unsigned IDS_SIZE_MINIMUM = 107;     // MB; normal and full follow
inline constexpr unsigned IDS_SIZE_NORMAL = 108;
inline constexpr unsigned IDS_SIZE_FULL = 109;
inline constexpr unsigned IDS_SIZE_NOTHING_LEFT = 110;
inline constexpr unsigned IDS_PROGRAM_FILES = 111;    // files in the install folder itself
inline constexpr unsigned IDS_BASE_FOLDERS = 112;
inline constexpr unsigned IDS_VOICE_FOLDERS = 113;
inline constexpr unsigned IDS_MEDIA_FOLDERS = 114;
inline constexpr unsigned IDS_SAVE_FOLDER = 115;
inline constexpr unsigned IDS_INSTALL_SUCCEEDED = 116;
inline constexpr unsigned IDS_INSTALL_FAILED = 117;
inline constexpr unsigned IDS_INSERT_DISC = 118;
inline constexpr unsigned IDS_CONFIRM_UNINSTALL = 119;
inline constexpr unsigned IDS_UNINSTALLED = 120;
