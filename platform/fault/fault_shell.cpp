#include "platform/fault/fault_shell.h"

namespace faultplat {
namespace {

// For the trace only: a name that is not valid UTF-16 keeps what can be read of it.
std::string Utf8Of(const std::u16string& wide) {
    std::string text;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        std::uint32_t code = wide[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (wide[++i] - 0xDC00);
        }
        if (code < 0x80) {
            text += static_cast<char>(code);
        } else if (code < 0x800) {
            text += static_cast<char>(0xC0 | (code >> 6));
            text += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            text += static_cast<char>(0xE0 | (code >> 12));
            text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            text += static_cast<char>(0xF0 | (code >> 18));
            text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return text;
}

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
        const std::string target = Utf8Of(fileName);
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
