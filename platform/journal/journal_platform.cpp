#include "platform/journal/journal_platform.h"

#include "platform/journal/journal_file_system.h"
#include "platform/journal/journal_memory.h"
#include "platform/journal/journal_registry.h"
#include "platform/journal/journal_shell.h"

namespace journal {

struct JournalPlatform::Impl {
    Impl(plat::Platform& real, Journal& journal)
        : fileSystem(real.fileSystem, real.errors, journal),
          registry(real.registry, real.errors, journal),
          shell(real.shell, real.errors, journal),
          memory(real.memory, journal),
          platform{fileSystem, registry, shell, real.text, memory, real.errors} {}

    JournalFileSystem fileSystem;
    JournalRegistry registry;
    JournalShell shell;
    JournalMemory memory;
    plat::Platform platform;
};

JournalPlatform::JournalPlatform(plat::Platform& real, Journal& journal)
    : m_impl(std::make_unique<Impl>(real, journal)) {}

JournalPlatform::~JournalPlatform() = default;

plat::Platform& JournalPlatform::platform() { return m_impl->platform; }

}  // namespace journal
