#include "platform/journal/journal_registry.h"

#include <cstdio>

#include "platform/registry_roots.h"

namespace journal {
namespace {

// The data of a value as a .reg file would show it, as far as a reader needs.
std::string DataText(const Journal& journal, std::uint32_t type, const unsigned char* data, std::uint32_t size) {
    if ((type == plat::kRegSz || type == plat::kRegExpandSz) && data) {
        std::string text(reinterpret_cast<const char*>(data), size);
        text = text.substr(0, text.find('\0'));
        return "\"" + journal.Utf8(text) + "\"";
    }
    if (type == plat::kRegDword && size == 4 && data) {
        char text[24];
        const unsigned long word = data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<unsigned long>(data[3]) << 24);
        std::snprintf(text, sizeof text, "dword:%08lx", word);
        return text;
    }
    return std::to_string(size) + " bytes of type " + std::to_string(type);
}

}  // namespace

JournalRegistry::JournalRegistry(plat::Registry& real, plat::SystemErrors& errors, Journal& journal)
    : m_real(real), m_errors(errors), m_journal(journal) {}

std::string JournalRegistry::PathOf(plat::RegKeyHandle key) const {
    if (const plat::RootKeyName* root = plat::FindRootKey(key)) return root->name;
    const auto found = m_paths.find(key);
    return found == m_paths.end() ? std::string("(unknown key)") : found->second;
}

std::string JournalRegistry::PathBelow(plat::RegKeyHandle parent, const std::string& subKey) const {
    std::string below = subKey;
    while (!below.empty() && below.back() == '\\') below.pop_back();
    return below.empty() ? PathOf(parent) : PathOf(parent) + "\\" + below;
}

plat::RegResult JournalRegistry::Noted(plat::RegResult result, const char* operation, const std::string& path) {
    if (result != plat::kErrorSuccess && m_journal.Recording()) {
        m_journal.Failure(operation, m_journal.Utf8(path), m_errors.RegistryError(result));
    }
    return result;
}

plat::RegResult JournalRegistry::Opened(plat::RegResult result, const char* operation, plat::RegKeyHandle parent,
                                        const std::string& subKey, plat::RegKeyHandle* key) {
    const std::string path = PathBelow(parent, subKey);
    if (result == plat::kErrorSuccess) m_paths[*key] = path;
    return Noted(result, operation, path);
}

plat::RegResult JournalRegistry::CreateKey(plat::RegKeyHandle parent, const std::string& subKey,
                                           plat::RegKeyHandle* key) {
    return Opened(m_real.CreateKey(parent, subKey, key), "create key", parent, subKey, key);
}

plat::RegResult JournalRegistry::OpenKey(plat::RegKeyHandle parent, const std::string& subKey, std::uint32_t access,
                                         plat::RegKeyHandle* key) {
    return Opened(m_real.OpenKey(parent, subKey, access, key), "open key", parent, subKey, key);
}

// The end of a listing is no failure.
plat::RegResult JournalRegistry::EnumKey(plat::RegKeyHandle key, std::uint32_t index, char* name,
                                         std::uint32_t* nameSize) {
    const plat::RegResult result = m_real.EnumKey(key, index, name, nameSize);
    if (result == plat::kErrorNoMoreItems) return result;
    return Noted(result, "list sub-keys of", PathOf(key));
}

plat::RegResult JournalRegistry::EnumValue(plat::RegKeyHandle key, std::uint32_t index, char* name,
                                           std::uint32_t* nameSize) {
    const plat::RegResult result = m_real.EnumValue(key, index, name, nameSize);
    if (result == plat::kErrorNoMoreItems) return result;
    return Noted(result, "list values of", PathOf(key));
}

plat::RegResult JournalRegistry::QueryValue(plat::RegKeyHandle key, const std::string& name, std::uint32_t* type,
                                            unsigned char* data, std::uint32_t* size) {
    return Noted(m_real.QueryValue(key, name, type, data, size), "read value", PathOf(key) + "\\" + name);
}

plat::RegResult JournalRegistry::SetValue(plat::RegKeyHandle key, const std::string& name, std::uint32_t type,
                                          const unsigned char* data, std::uint32_t size) {
    const plat::RegResult result = m_real.SetValue(key, name, type, data, size);
    const std::string path = PathOf(key) + "\\" + name;
    if (result == plat::kErrorSuccess && m_journal.Recording()) {
        m_journal.Change("set value " + m_journal.Utf8(path) + " = " + DataText(m_journal, type, data, size));
    }
    return Noted(result, "set value", path);
}

plat::RegResult JournalRegistry::DeleteKey(plat::RegKeyHandle parent, const std::string& subKey) {
    const plat::RegResult result = m_real.DeleteKey(parent, subKey);
    const std::string path = PathBelow(parent, subKey);
    if (result == plat::kErrorSuccess && m_journal.Recording()) m_journal.Change("deleted key " + m_journal.Utf8(path));
    return Noted(result, "delete key", path);
}

plat::RegResult JournalRegistry::CloseKey(plat::RegKeyHandle key) {
    const std::string path = PathOf(key);
    m_paths.erase(key);
    return Noted(m_real.CloseKey(key), "close key", path);
}

}  // namespace journal
