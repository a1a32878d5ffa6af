#include "platform/journal/journal_log_file.h"

#include <algorithm>
#include <iterator>
#include <system_error>

namespace journal {

namespace {

constexpr std::chrono::milliseconds kFlushInterval(50);

}  // namespace

// The first line goes out at once.
LogFile::LogFile(std::filesystem::path path, std::uintmax_t sizeLimit)
    : m_path(std::move(path)), m_limit(sizeLimit), m_lastFlush(std::chrono::steady_clock::now() - kFlushInterval) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(m_path, error);
    m_size = error ? 0 : size;
}

bool LogFile::Open() {
    if (m_out.is_open()) return true;
    if (!m_writable) return false;
    m_out.open(m_path, std::ios::binary | std::ios::app);
    m_writable = m_out.is_open();
    return m_writable;
}

void LogFile::Append(const std::string& line) {
    // A line longer than half the bound would drop everything before it at once.
    const std::size_t length = std::min(line.size(), static_cast<std::size_t>(m_limit / 2));
    const std::uintmax_t size = length + 1;
    if (m_size + size >= m_limit) DropOlderHalf();
    if (!Open()) return;
    m_out.write(line.data(), static_cast<std::streamsize>(length));
    m_out.put('\n');
    const auto now = std::chrono::steady_clock::now();
    if (now - m_lastFlush >= kFlushInterval) {
        m_out.flush();
        m_lastFlush = now;
    }
    if (!m_out) {
        m_writable = false;
        m_out.close();
        return;
    }
    m_size += size;
}

void LogFile::Flush() {
    m_lastFlush = std::chrono::steady_clock::now();
    if (!m_out.is_open()) return;
    if (!m_out.flush()) {
        m_writable = false;
        m_out.close();
    }
}

void LogFile::DropOlderHalf() {
    m_out.close();
    std::string kept;
    {
        std::ifstream in(m_path, std::ios::binary);
        const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        // The whole lines of the newer half of the bound (of the file, when an earlier
        // bound let it grow larger).
        const std::size_t half = static_cast<std::size_t>(m_limit / 2);
        const std::size_t from = all.size() > half ? all.size() - half : 0;
        const std::size_t cut = from == 0 ? std::string::npos : all.find('\n', from - 1);
        kept = cut == std::string::npos ? all.substr(from) : all.substr(cut + 1);
    }
    std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
    out.write(kept.data(), static_cast<std::streamsize>(kept.size()));
    m_size = out ? kept.size() : 0;
    if (!out) m_writable = false;
}

}  // namespace journal
