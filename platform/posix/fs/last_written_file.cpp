#include "platform/posix/fs/last_written_file.h"

#include <utility>

namespace posixplat {

void LastWrittenFile::Keep(std::string path, UniqueFd fd) {
    m_path = std::move(path);
    m_fd = std::move(fd);
}

UniqueFd LastWrittenFile::Take(const std::string& path) {
    if (!m_fd.Valid() || path != m_path) return UniqueFd();
    m_path.clear();
    return std::move(m_fd);
}

void LastWrittenFile::Forget() {
    m_path.clear();
    m_fd.Reset();
}

}  // namespace posixplat
