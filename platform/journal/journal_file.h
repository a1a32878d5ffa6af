#pragma once
// The journal's file itself, as each build's system opens it: never through a link,
// never blocking, only a regular file of the running user, so that no run can write
// into a file of someone else's. Every writer (several runs may share one journal)
// appends whole lines in one write each and keeps the size bound under a lock they all
// take, dropping the older half by writing the kept half to a new file and renaming it
// over the old one: a file is never cut in place.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace journal {

class JournalFile {
public:
    virtual ~JournalFile() = default;
    // Appends `lines` (whole lines, each ending in a line break) in one write, first
    // dropping the older half of the file when it would pass `limit` bytes. False when
    // the lines could not be written; the file then holds none of them.
    virtual bool AppendBounded(const std::string& lines, std::uintmax_t limit) = 0;
};

// Opens or creates the journal at `path`; null, with the reason in `*refusal`, when it
// is not a file the journal may write.
std::unique_ptr<JournalFile> OpenJournalFile(const std::filesystem::path& path, std::string* refusal);

// The newer whole lines of `text` that fit in half of `limit`.
std::string NewerHalf(const std::string& text, std::uintmax_t limit);

}  // namespace journal
