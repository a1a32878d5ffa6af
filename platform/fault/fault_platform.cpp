#include "platform/fault/fault_platform.h"

#include "platform/fault/fault_errors.h"
#include "platform/fault/fault_file_system.h"
#include "platform/fault/fault_memory.h"
#include "platform/fault/fault_registry.h"
#include "platform/fault/fault_shell.h"
#include "platform/fault/fault_state.h"

namespace faultplat {

struct FaultPlatform::Impl {
    Impl(plat::Platform& real, FaultPlan plan)
        : fileSystem(real.fileSystem, state),
          registry(real.registry, state),
          shell(real.shell, state),
          memory(real.memory, state),
          errors(real.errors, state),
          platform{fileSystem, registry, shell, real.text, memory, errors} {
        state.plan = std::move(plan);
        state.codePage = real.text.AnsiCodePage();
    }

    FaultState state;
    FaultFileSystem fileSystem;
    FaultRegistry registry;
    FaultShell shell;
    FaultMemory memory;
    FaultErrors errors;
    plat::Platform platform;
};

FaultPlatform::FaultPlatform(plat::Platform& real, FaultPlan plan)
    : m_impl(std::make_unique<Impl>(real, std::move(plan))) {}

FaultPlatform::~FaultPlatform() = default;

plat::Platform& FaultPlatform::platform() { return m_impl->platform; }

FaultPlan& FaultPlatform::plan() { return m_impl->state.plan; }

const FaultCounters& FaultPlatform::counters() const { return m_impl->state.counters; }

const FaultTrace& FaultPlatform::trace() const { return m_impl->state.trace; }

}  // namespace faultplat
