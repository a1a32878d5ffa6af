#pragma once
// The shell wrapper of the journal: each link saved, with its target, and every call
// that failed with the system's error. Private to the journal platform.
#include "platform/journal/journal.h"
#include "platform/shell.h"

namespace journal {

class JournalShell : public plat::Shell {
public:
    JournalShell(plat::Shell& real, plat::SystemErrors& errors, Journal& journal);
    bool InitializeComponents() override;
    std::unique_ptr<plat::ShellLink> CreateLink() override;

private:
    plat::Shell& m_real;
    plat::SystemErrors& m_errors;
    Journal& m_journal;
};

}  // namespace journal
