#pragma once
// The journal's file: lines appended and flushed one by one, so that a run cut short
// still leaves what it did; kept under a size bound by dropping the older half when a
// line would pass it. A file that cannot be opened or written costs the run nothing:
// the lines are dropped.
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "platform/journal/journal_output.h"

namespace journal {

inline constexpr std::uintmax_t kJournalSizeLimit = 1024 * 1024;

class LogFile : public JournalOutput {
public:
    explicit LogFile(std::filesystem::path path, std::uintmax_t sizeLimit = kJournalSizeLimit);
    void Append(const std::string& line) override;

    // False once the file could not be opened or written; nothing more is tried.
    bool Writable() const { return m_writable; }

private:
    // Rewrites the file with the newer half of its lines.
    void DropOlderHalf();
    bool Open();

    std::filesystem::path m_path;
    std::uintmax_t m_limit;
    std::uintmax_t m_size = 0;
    std::ofstream m_out;
    bool m_writable = true;
};

}  // namespace journal
