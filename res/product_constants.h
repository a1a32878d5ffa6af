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

// The shortcut's folder below the Programs menu (publisher, then title), in UTF-8 as all
// of the core's text on both builds.
inline constexpr const char* kProgramsSubFolder = "\\Velstra\\ハルネア";

}  // namespace res
