#pragma once
// The journal's file, kept under a size bound by dropping the older half when a batch of
// lines would pass it. Lines reach the file at the latest 50 ms after the one before them
// went out, and at once on Flush (which the journal calls after a failure, at the end of
// a run and before anything waits for the user): a run killed outright loses at most its
// last 50 ms, where a write per line made every copied file cost a system call. Each
// batch is whole lines in one write, so runs sharing the journal interleave lines, never
// bytes. A file that cannot be opened or written costs the run nothing: the lines are
// dropped, and a file the journal refuses (a link, a FIFO, a folder, another user's) is
// named once on standard error.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/journal/journal_file.h"
#include "platform/journal/journal_output.h"

namespace journal {

inline constexpr std::uintmax_t kJournalSizeLimit = 1024 * 1024;

class LogFile : public JournalOutput {
public:
    explicit LogFile(std::filesystem::path path, std::uintmax_t sizeLimit = kJournalSizeLimit);
    ~LogFile() override;
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    void Append(const std::string& line) override;
    void Flush() override;

    // False once the file could not be opened or written; nothing more is tried.
    bool Writable() const { return m_writable; }

private:
    bool Open();

    std::filesystem::path m_path;
    std::uintmax_t m_limit;
    std::unique_ptr<JournalFile> m_file;
    std::string m_pending;
    std::chrono::steady_clock::time_point m_lastFlush;
    bool m_writable = true;
};

}  // namespace journal
