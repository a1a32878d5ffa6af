#pragma once
// Where the front-ends keep the journal by default: beside the sandbox's system on Linux
// (<root>/setup.log) or in the user's state folder for a Wine prefix, in the user's temporary folder on Windows (%TEMP%\mirel-setup.log).
namespace journal {

inline constexpr const char* kSandboxJournalName = "setup.log";
// In $XDG_STATE_HOME/<kStateFolderName>/ for a Wine prefix, whose own folder is Wine's.
inline constexpr const char* kStateFolderName = "mirel-setup";
inline constexpr const char* kWinePrefixJournalName = "setup.log";
inline constexpr const char* kTempJournalName = "mirel-setup.log";

}  // namespace journal
