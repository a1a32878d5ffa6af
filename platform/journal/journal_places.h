#pragma once
// Where the front-ends keep the journal by default: beside the sandbox's system on Linux
// (<root>/setup.log), in the user's temporary folder on Windows (%TEMP%\mirel-setup.log).
namespace journal {

inline constexpr const char* kSandboxJournalName = "setup.log";
inline constexpr const char* kTempJournalName = "mirel-setup.log";

}  // namespace journal
