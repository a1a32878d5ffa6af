#pragma once
// The install journal's place on Windows: %TEMP%\mirel-setup.log of the user running
// the program, by its UTF-16 name.
#include <filesystem>

namespace win32plat {

std::filesystem::path TempJournalPath();

}  // namespace win32plat
