#include "platform/journal/journal_shell.h"

#include "platform/utf16_text.h"

namespace journal {
namespace {

class JournaledLink : public plat::ShellLink {
public:
    JournaledLink(std::unique_ptr<plat::ShellLink> real, plat::SystemErrors& errors, Journal& journal)
        : m_real(std::move(real)), m_errors(errors), m_journal(journal) {}

    bool SetPath(const std::string& path) override {
        m_target = path;
        return Checked(m_real->SetPath(path), "set the link target", path);
    }
    bool ClearArguments() override { return Checked(m_real->ClearArguments(), "clear the link arguments", ""); }
    bool SetWorkingDirectory(const std::string& folder) override {
        return Checked(m_real->SetWorkingDirectory(folder), "set the link folder", folder);
    }
    bool Save(const std::u16string& fileName) override {
        if (!m_real->Save(fileName)) {
            const plat::SystemError error = m_errors.LastError();
            if (m_journal.Recording()) m_journal.Failure("save link", plat::Utf16ToUtf8ForReading(fileName), error);
            return false;
        }
        if (m_journal.Recording()) {
            m_journal.Change("saved link " + plat::Utf16ToUtf8ForReading(fileName) + " -> " + m_journal.Utf8(m_target));
        }
        return true;
    }

private:
    bool Checked(bool ok, const char* operation, const std::string& what) {
        if (ok) return true;
        const plat::SystemError error = m_errors.LastError();
        if (m_journal.Recording()) m_journal.Failure(operation, m_journal.Utf8(what), error);
        return false;
    }

    std::unique_ptr<plat::ShellLink> m_real;
    plat::SystemErrors& m_errors;
    Journal& m_journal;
    std::string m_target;
};

}  // namespace

JournalShell::JournalShell(plat::Shell& real, plat::SystemErrors& errors, Journal& journal)
    : m_real(real), m_errors(errors), m_journal(journal) {}

bool JournalShell::InitializeComponents() {
    if (m_real.InitializeComponents()) return true;
    const plat::SystemError error = m_errors.LastError();
    if (m_journal.Recording()) m_journal.Failure("initialize the component system", "", error);
    return false;
}

std::unique_ptr<plat::ShellLink> JournalShell::CreateLink() {
    std::unique_ptr<plat::ShellLink> real = m_real.CreateLink();
    if (!real) {
        const plat::SystemError error = m_errors.LastError();
        if (m_journal.Recording()) m_journal.Failure("create a link object", "", error);
        return nullptr;
    }
    return std::make_unique<JournaledLink>(std::move(real), m_errors, m_journal);
}

}  // namespace journal
