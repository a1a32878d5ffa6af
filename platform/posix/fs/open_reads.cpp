#include "platform/posix/fs/open_reads.h"

namespace posixplat {

OpenReads::Share::Share(std::shared_ptr<std::map<Identity, int>> open, Identity identity)
    : m_open(std::move(open)), m_identity(identity) {}

OpenReads::Share::~Share() { Release(); }

OpenReads::Share::Share(Share&& other) noexcept
    : m_open(std::move(other.m_open)), m_identity(other.m_identity) {}

OpenReads::Share& OpenReads::Share::operator=(Share&& other) noexcept {
    if (this != &other) {
        Release();
        m_open = std::move(other.m_open);
        m_identity = other.m_identity;
    }
    return *this;
}

void OpenReads::Share::Release() {
    if (!m_open) return;
    auto found = m_open->find(m_identity);
    if (found != m_open->end() && --found->second == 0) m_open->erase(found);
    m_open.reset();
}

OpenReads::OpenReads() : m_open(std::make_shared<std::map<Identity, int>>()) {}

OpenReads::Share OpenReads::Add(dev_t device, ino_t inode) {
    const Identity identity{device, inode};
    ++(*m_open)[identity];
    return Share(m_open, identity);
}

bool OpenReads::Contains(dev_t device, ino_t inode) const { return m_open->count(Identity{device, inode}) != 0; }

}  // namespace posixplat
