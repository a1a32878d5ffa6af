#pragma once
// Wraps a real platform and writes what a run changes on the system, and every call that
// fails with the system's own error, into the install journal; everything passes
// through unchanged. The front-ends put it between the platform and the dialog, as the
// tests and the driver put the fault platform: the core knows nothing of it.
#include <memory>

#include "platform/journal/journal.h"
#include "platform/platform.h"

namespace journal {

class JournalPlatform {
public:
    JournalPlatform(plat::Platform& real, Journal& journal);
    ~JournalPlatform();
    JournalPlatform(const JournalPlatform&) = delete;
    JournalPlatform& operator=(const JournalPlatform&) = delete;

    plat::Platform& platform();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace journal
