#pragma once
// The memory wrapper of the journal: a block that cannot be had is a failure of the run
// too. Private to the journal platform.
#include "platform/journal/journal.h"
#include "platform/memory.h"

namespace journal {

class JournalMemory : public plat::Memory {
public:
    JournalMemory(plat::Memory& real, Journal& journal);
    void* Allocate(std::size_t size) override;
    void Release(void* block) override;

private:
    plat::Memory& m_real;
    Journal& m_journal;
};

}  // namespace journal
