#pragma once
// A string table and code page for one test: wraps the platform's text services and
// replaces chosen entries, so a test can run the installer for another product or with
// a damaged entry, or under code page 932.
#include <map>
#include <optional>
#include <string>

#include "platform/platform.h"

class StringOverride : public plat::SystemText {
public:
    explicit StringOverride(plat::SystemText& inner) : m_inner(inner) {}

    void Set(unsigned id, std::string text) { m_entries[id] = std::move(text); }
    // The entry reads as absent (an empty string).
    void Remove(unsigned id) { m_entries[id] = std::nullopt; }
    void SetCodePage(plat::CodePage codePage) { m_codePage = codePage; }

    plat::CodePage AnsiCodePage() override { return m_codePage ? *m_codePage : m_inner.AnsiCodePage(); }
    std::string LoadString(unsigned id) override {
        auto found = m_entries.find(id);
        if (found == m_entries.end()) return m_inner.LoadString(id);
        return found->second ? *found->second : std::string();
    }
    bool ToUtf16(const std::string& text, std::size_t capacity, std::u16string* wide) override {
        return m_inner.ToUtf16(text, capacity, wide);
    }

private:
    plat::SystemText& m_inner;
    std::map<unsigned, std::optional<std::string>> m_entries;
    std::optional<plat::CodePage> m_codePage;
};

// The platform with its text services replaced.
inline plat::Platform WithText(plat::Platform& base, plat::SystemText& text) {
    return plat::Platform{base.fileSystem, base.registry, base.shell, text, base.memory, base.errors};
}
