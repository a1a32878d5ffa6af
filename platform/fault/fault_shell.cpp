#include "platform/fault/fault_shell.h"

#include "platform/utf16_text.h"

namespace faultplat {
namespace {

class FaultShellLink : public plat::ShellLink {
public:
    FaultShellLink(std::unique_ptr<plat::ShellLink> real, FaultState& state, LinkRecord& record)
        : m_real(std::move(real)), m_state(state), m_record(record) {}

    bool SetPath(const std::string& path) override {
        m_record.path = path;
        return m_real->SetPath(path);
    }
    bool ClearArguments() override {
        m_record.argumentsCleared = true;
        return m_real->ClearArguments();
    }
    bool SetWorkingDirectory(const std::string& folder) override {
        m_record.workingDirectory = folder;
        return m_real->SetWorkingDirectory(folder);
    }
    bool Save(const std::u16string& fileName) override {
        m_record.saves.push_back(fileName);
        const std::string target = plat::Utf16ToUtf8ForReading(fileName);
        if (m_state.Fails(Op::LinkSave, target)) return false;
        if (m_state.plan.failLinkSave) return m_state.Inject(Op::LinkSave, target);
        if (!m_real->Save(fileName)) return false;
        ++m_state.counters.linksSaved;
        return true;
    }

private:
    std::unique_ptr<plat::ShellLink> m_real;
    FaultState& m_state;
    LinkRecord& m_record;
};

}  // namespace

FaultShell::FaultShell(plat::Shell& real, FaultState& state) : m_real(real), m_state(state) {}

bool FaultShell::InitializeComponents() { return m_real.InitializeComponents(); }

std::unique_ptr<plat::ShellLink> FaultShell::CreateLink() {
    if (m_state.Fails(Op::LinkCreate, "")) return nullptr;
    if (m_state.plan.linkUnavailable) {
        m_state.Inject(Op::LinkCreate, "");
        return nullptr;
    }
    std::unique_ptr<plat::ShellLink> real = m_real.CreateLink();
    if (!real) return nullptr;
    m_state.trace.links.emplace_back();
    return std::make_unique<FaultShellLink>(std::move(real), m_state, m_state.trace.links.back());
}

}  // namespace faultplat
