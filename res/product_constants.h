#pragma once
// The product's texts that are compiled in rather than read from the string table
// (res/strings.inc): the installer's behaviour fixes them, so they are constants, kept
// here beside the string table so that a product's texts are all in res/.
namespace res {

// Units of the space display, and its text while no free space is known.
inline constexpr const char* kMegabytes = "MB";
inline constexpr const char* kGigabytes = "GB";
inline constexpr const char* kFreeSpaceUnknown = "-- GB";

// The folder of the game disc that holds its data when the disc's root does not.
inline constexpr const char* kDiscDataFolder = "Tazmel\\";

// The shortcut's folder below the Programs menu (publisher, then title), in the ANSI code
// page the core works in: UTF-8 on Linux, the Japanese code page 932 on Windows.
inline constexpr const char* kProgramsSubFolderUtf8 = "\\Velstra\\ハルネア";
inline constexpr const char* kProgramsSubFolder932 = "\\Velstra\\\x83\x6E\x83\x8B\x83\x6C\x83\x41";

}  // namespace res
