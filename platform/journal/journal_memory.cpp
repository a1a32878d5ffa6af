#include "platform/journal/journal_memory.h"

namespace journal {

JournalMemory::JournalMemory(plat::Memory& real, Journal& journal) : m_real(real), m_journal(journal) {}

void* JournalMemory::Allocate(std::size_t size) {
    void* block = m_real.Allocate(size);
    if (!block) m_journal.Failure("allocate", std::to_string(size) + " bytes", {0, "out of memory"});
    return block;
}

void JournalMemory::Release(void* block) { m_real.Release(block); }

}  // namespace journal
