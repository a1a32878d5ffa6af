#include "platform/journal/journal_log_file.h"

#include <algorithm>
#include <iostream>

namespace journal {

namespace {

constexpr std::chrono::milliseconds kFlushInterval(50);
// Lines held back at most, so that one batch never comes near the bound.
constexpr std::size_t kBatchBytes = 64 * 1024;

}  // namespace

// The first line goes out at once.
LogFile::LogFile(std::filesystem::path path, std::uintmax_t sizeLimit)
    : m_path(std::move(path)), m_limit(sizeLimit), m_lastFlush(std::chrono::steady_clock::now() - kFlushInterval) {}

LogFile::~LogFile() { Flush(); }

bool LogFile::Open() {
    if (m_file) return true;
    if (!m_writable) return false;
    std::string refusal;
    m_file = OpenJournalFile(m_path, &refusal);
    if (!m_file) {
        m_writable = false;
        std::cerr << "journal " << m_path.string() << " not written: " << refusal << '\n';
    }
    return m_writable;
}

void LogFile::Append(const std::string& line) {
    if (!m_writable) return;
    // A line longer than half the bound would drop everything before it at once.
    const std::size_t length = std::min(line.size(), static_cast<std::size_t>(m_limit / 2) - 1);
    m_pending.append(line, 0, length);
    m_pending.push_back('\n');
    const std::size_t batch = std::min(kBatchBytes, static_cast<std::size_t>(m_limit / 4));
    if (m_pending.size() >= batch || std::chrono::steady_clock::now() - m_lastFlush >= kFlushInterval) Flush();
}

void LogFile::Flush() {
    m_lastFlush = std::chrono::steady_clock::now();
    if (m_pending.empty()) return;
    if (Open() && !m_file->AppendBounded(m_pending, m_limit)) {
        m_writable = false;
        m_file.reset();
    }
    m_pending.clear();
}

}  // namespace journal
