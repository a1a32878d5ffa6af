#pragma once
// Wrappers for the registry and shell tests: they pass every call to the real platform,
// note what the core asked for, and fail the calls a test names.
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/shell.h"

// Registry calls are logged with the sub-key path a handle was opened by, so a test can
// check what was listed and deleted, in which order, and that every key was closed.
class RegistrySpy : public plat::Registry {
public:
    explicit RegistrySpy(plat::Registry& real) : m_real(real) {}

    // Sub-key paths, exactly as the core passes them, whose opening or deletion fails.
    std::set<std::string> failOpen;
    std::set<std::string> failDelete;
    // Listing the sub-keys of the key opened by this path fails from this index on.
    std::map<std::string, std::uint32_t> failListFrom;
    // "list PATH" for each sub-key listing call, "delete PATH" for each key deletion.
    std::vector<std::string> log;

    int OpenHandles() const { return static_cast<int>(m_paths.size()); }

    plat::RegResult CreateKey(plat::RegKeyHandle parent, const std::string& subKey, plat::RegKeyHandle* key) override {
        const plat::RegResult result = m_real.CreateKey(parent, subKey, key);
        if (result == plat::kErrorSuccess) m_paths[*key] = subKey;
        return result;
    }
    plat::RegResult OpenKey(plat::RegKeyHandle parent, const std::string& subKey, std::uint32_t access,
                            plat::RegKeyHandle* key) override {
        if (failOpen.count(subKey)) return plat::kErrorAccessDenied;
        const plat::RegResult result = m_real.OpenKey(parent, subKey, access, key);
        if (result == plat::kErrorSuccess) m_paths[*key] = subKey;
        return result;
    }
    plat::RegResult EnumKey(plat::RegKeyHandle key, std::uint32_t index, char* name, std::uint32_t* nameSize) override {
        log.push_back("list " + PathOf(key));
        const auto limit = failListFrom.find(PathOf(key));
        if (limit != failListFrom.end() && index >= limit->second) return plat::kErrorAccessDenied;
        return m_real.EnumKey(key, index, name, nameSize);
    }
    plat::RegResult EnumValue(plat::RegKeyHandle key, std::uint32_t index, char* name,
                              std::uint32_t* nameSize) override {
        return m_real.EnumValue(key, index, name, nameSize);
    }
    plat::RegResult QueryValue(plat::RegKeyHandle key, const std::string& name, std::uint32_t* type,
                               unsigned char* data, std::uint32_t* size) override {
        return m_real.QueryValue(key, name, type, data, size);
    }
    plat::RegResult SetValue(plat::RegKeyHandle key, const std::string& name, std::uint32_t type,
                             const unsigned char* data, std::uint32_t size) override {
        return m_real.SetValue(key, name, type, data, size);
    }
    plat::RegResult DeleteKey(plat::RegKeyHandle parent, const std::string& subKey) override {
        log.push_back("delete " + subKey);
        if (failDelete.count(subKey)) return plat::kErrorAccessDenied;
        return m_real.DeleteKey(parent, subKey);
    }
    plat::RegResult CloseKey(plat::RegKeyHandle key) override {
        m_paths.erase(key);
        return m_real.CloseKey(key);
    }

private:
    std::string PathOf(plat::RegKeyHandle key) const {
        const auto found = m_paths.find(key);
        return found == m_paths.end() ? std::string("?") : found->second;
    }

    plat::Registry& m_real;
    std::map<plat::RegKeyHandle, std::string> m_paths;
};

// What the core did with one link object.
struct LinkRecord {
    std::string path;
    bool argumentsCleared = false;
    std::string workingDirectory;
    std::vector<std::u16string> saves;
};

class RecordingLink : public plat::ShellLink {
public:
    RecordingLink(std::unique_ptr<plat::ShellLink> real, LinkRecord& record)
        : m_real(std::move(real)), m_record(record) {}

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
        return m_real->Save(fileName);
    }

private:
    std::unique_ptr<plat::ShellLink> m_real;
    LinkRecord& m_record;
};

class ShellSpy : public plat::Shell {
public:
    explicit ShellSpy(plat::Shell& real) : m_real(real) {}

    // When set, no link object can be created.
    bool linkUnavailable = false;
    // One record per link object created, in order.
    std::vector<std::unique_ptr<LinkRecord>> links;

    bool InitializeComponents() override { return m_real.InitializeComponents(); }
    std::unique_ptr<plat::ShellLink> CreateLink() override {
        if (linkUnavailable) return nullptr;
        std::unique_ptr<plat::ShellLink> real = m_real.CreateLink();
        if (!real) return nullptr;
        links.push_back(std::make_unique<LinkRecord>());
        return std::make_unique<RecordingLink>(std::move(real), *links.back());
    }

private:
    plat::Shell& m_real;
};
