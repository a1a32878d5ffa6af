#include "platform/posix/registry/posix_registry.h"

#include <cstring>
#include <iterator>
#include <mutex>
#include <vector>

#include "platform/posix/registry/current_user_seed.h"
#include "platform/posix/registry/store/hive_store.h"
#include "platform/posix/registry/store/hive_tree.h"
#include "platform/posix/registry/regedit4/regedit4_format.h"
#include "platform/registry_roots.h"
#include "platform/utf16_text.h"
#include "platform/posix/registry/registry_handle_table.h"
#include "platform/posix/registry/registry_key_path.h"
#include "platform/posix/registry/store/registry_names.h"

namespace posixplat {
namespace {

using plat::RegKeyHandle;
using plat::RegResult;
using reg::HiveKey;
using reg::OpenKeyEntry;

bool IsUnstorableRoot(RegKeyHandle handle) {
    const plat::RootKeyName* root = plat::FindRootKey(handle);
    return root && !root->holdsKeys;
}

bool IsPredefined(RegKeyHandle handle) { return plat::FindRootKey(handle) != nullptr; }

RegResult CopyName(const std::string& name, char* buffer, std::uint32_t* size) {
    if (name.size() >= *size) return plat::kErrorMoreData;  // room for the terminator too
    std::memcpy(buffer, name.data(), name.size());
    buffer[name.size()] = '\0';
    *size = static_cast<std::uint32_t>(name.size());
    return plat::kErrorSuccess;
}

std::vector<std::string> Joined(const std::vector<std::string>& head, const std::vector<std::string>& tail) {
    std::vector<std::string> path = head;
    path.insert(path.end(), tail.begin(), tail.end());
    return path;
}

// REG_SZ, REG_EXPAND_SZ and REG_MULTI_SZ: text that the A functions convert.
bool IsStringType(std::uint32_t type) { return type == 1 || type == 2 || type == 7; }

// Bytes in the ANSI code page (UTF-8 here) as UTF-16LE units and back, every byte of the
// data (terminators included) converted as the A functions convert it.
bool AnsiToWideBytes(const std::string& ansi, std::string* wide) {
    std::u16string units;
    if (!plat::Utf8ToUtf16(ansi, &units)) return false;
    wide->clear();
    for (char16_t unit : units) {
        wide->push_back(static_cast<char>(unit & 0xFF));
        wide->push_back(static_cast<char>(unit >> 8));
    }
    return true;
}

bool WideBytesToAnsi(const std::string& wide, std::string* ansi) {
    std::u16string units;
    for (std::size_t i = 0; i + 1 < wide.size(); i += 2) {
        units.push_back(static_cast<char16_t>(static_cast<unsigned char>(wide[i]) |
                                              (static_cast<unsigned char>(wide[i + 1]) << 8)));
    }
    return plat::Utf16ToUtf8(units, ansi);
}

}  // namespace

struct PosixRegistry::Impl {
    explicit Impl(std::vector<HiveFile> hives) {
        for (HiveFile& hive : hives) {
            stores.emplace_back(std::move(hive.folder), std::move(hive.fileName), std::move(hive.hiveName),
                                std::move(hive.seed), std::move(hive.format));
            roots.push_back(hive.root);
        }
    }

    RegResult Resolve(RegKeyHandle handle, OpenKeyEntry* entry) const {
        if (IsUnstorableRoot(handle)) return plat::kErrorInvalidHandle;
        for (std::size_t i = 0; i < roots.size(); ++i) {
            if (roots[i] != handle) continue;
            *entry = OpenKeyEntry{static_cast<int>(i), {}, plat::kKeyAllAccess, false};
            return plat::kErrorSuccess;
        }
        if (IsPredefined(handle)) return plat::kErrorInvalidHandle;
        const OpenKeyEntry* found = handles.Find(handle);
        if (!found) return plat::kErrorInvalidHandle;
        if (found->deleted) return plat::kErrorKeyDeleted;
        *entry = *found;
        return plat::kErrorSuccess;
    }

    // The open key `parent` and the levels of `subKey` below it.
    RegResult ResolveSubKey(RegKeyHandle parent, const std::string& subKey, OpenKeyEntry* entry,
                            std::vector<std::string>* names) const {
        const RegResult result = Resolve(parent, entry);
        if (result != plat::kErrorSuccess) return result;
        return reg::SplitKeyPath(subKey, names);
    }

    // Runs `read` on the key of `entry` as the hive file holds it now.
    template <typename Reader>
    RegResult ReadKey(const OpenKeyEntry& entry, Reader&& read) {
        return stores[entry.hive].Read([&](const HiveKey& root) {
            const HiveKey* key = reg::FindKey(root, entry.path);
            return key ? read(*key) : plat::kErrorKeyDeleted;
        });
    }

    std::mutex mutex;
    std::vector<reg::HiveStore> stores;
    std::vector<RegKeyHandle> roots;  // the predefined key of each store
    reg::RegistryHandleTable handles;
};

namespace {

// The sandbox: every predefined key that has a file is <folder>/<HIVE NAME>.reg.
std::vector<HiveFile> SandboxHives(const std::string& folder, const std::string& login) {
    std::vector<HiveFile> hives;
    for (const plat::RootKeyName& hive : plat::kRootKeys) {
        if (!hive.holdsKeys) continue;
        reg::HiveStore::Seed seed;
        if (hive.root == plat::kHkeyCurrentUser) {
            seed = [login](HiveKey& root) { reg::SeedCurrentUserHive(root, login); };
        }
        hives.push_back(HiveFile{hive.root, folder, std::string(hive.name) + ".reg", hive.name, std::move(seed),
                                 reg::MakeRegedit4Format()});
    }
    return hives;
}

}  // namespace

PosixRegistry::PosixRegistry(const std::string& folder, const std::string& login)
    : PosixRegistry(SandboxHives(folder, login)) {}

PosixRegistry::PosixRegistry(std::vector<HiveFile> hives) : m_impl(std::make_unique<Impl>(std::move(hives))) {}

PosixRegistry::~PosixRegistry() = default;

RegResult PosixRegistry::CreateKey(RegKeyHandle parent, const std::string& subKey, RegKeyHandle* key) {
    if (!key) return plat::kErrorInvalidParameter;
    *key = plat::kNullKey;
    std::lock_guard<std::mutex> guard(m_impl->mutex);
    OpenKeyEntry entry;
    std::vector<std::string> names;
    RegResult result = m_impl->ResolveSubKey(parent, subKey, &entry, &names);
    if (result != plat::kErrorSuccess) return result;

    result = m_impl->stores[entry.hive].Modify([&](HiveKey& root, bool* changed) {
        HiveKey* walk = reg::FindKey(root, entry.path);
        if (!walk) return plat::kErrorKeyDeleted;
        std::size_t existing = 0;
        for (; existing < names.size(); ++existing) {
            HiveKey* next = walk->FindSubKey(names[existing]);
            if (!next) break;
            walk = next;
        }
        if (existing == names.size()) return plat::kErrorSuccess;
        if (!(entry.access & plat::kKeyCreateSubKey)) return plat::kErrorAccessDenied;
        for (std::size_t i = existing; i < names.size(); ++i) {
            if (!reg::IsStorableKeyName(names[i])) return plat::kErrorInvalidParameter;
        }
        for (std::size_t i = existing; i < names.size(); ++i) walk = &walk->AddSubKey(names[i]);
        *changed = true;
        return plat::kErrorSuccess;
    });
    if (result != plat::kErrorSuccess) return result;
    *key = m_impl->handles.Add(OpenKeyEntry{entry.hive, Joined(entry.path, names), plat::kKeyAllAccess, false});
    return plat::kErrorSuccess;
}

RegResult PosixRegistry::OpenKey(RegKeyHandle parent, const std::string& subKey, std::uint32_t access,
                                 RegKeyHandle* key) {
    if (!key) return plat::kErrorInvalidParameter;
    *key = plat::kNullKey;
    std::lock_guard<std::mutex> guard(m_impl->mutex);
    OpenKeyEntry entry;
    std::vector<std::string> names;
    RegResult result = m_impl->ResolveSubKey(parent, subKey, &entry, &names);
    if (result != plat::kErrorSuccess) return result;

    result = m_impl->ReadKey(entry, [&](const HiveKey& from) {
        return reg::FindKey(from, names) ? plat::kErrorSuccess : plat::kErrorFileNotFound;
    });
    if (result != plat::kErrorSuccess) return result;
    *key = m_impl->handles.Add(
        OpenKeyEntry{entry.hive, Joined(entry.path, names), reg::EffectiveKeyAccess(access), false});
    return plat::kErrorSuccess;
}

RegResult PosixRegistry::EnumKey(RegKeyHandle key, std::uint32_t index, char* name, std::uint32_t* nameSize) {
    std::lock_guard<std::mutex> guard(m_impl->mutex);
    OpenKeyEntry entry;
    RegResult result = m_impl->Resolve(key, &entry);
    if (result != plat::kErrorSuccess) return result;
    if (!name || !nameSize) return plat::kErrorInvalidParameter;
    if (!(entry.access & plat::kKeyEnumerateSubKeys)) return plat::kErrorAccessDenied;
    return m_impl->ReadKey(entry, [&](const HiveKey& found) {
        const HiveKey* sub = found.SubKeyAt(index);
        return sub ? CopyName(sub->name(), name, nameSize) : plat::kErrorNoMoreItems;
    });
}

RegResult PosixRegistry::EnumValue(RegKeyHandle key, std::uint32_t index, char* name, std::uint32_t* nameSize) {
    std::lock_guard<std::mutex> guard(m_impl->mutex);
    OpenKeyEntry entry;
    RegResult result = m_impl->Resolve(key, &entry);
    if (result != plat::kErrorSuccess) return result;
    if (!name || !nameSize) return plat::kErrorInvalidParameter;
    if (!(entry.access & plat::kKeyQueryValue)) return plat::kErrorAccessDenied;
    return m_impl->ReadKey(entry, [&](const HiveKey& found) {
        if (index >= found.values().size()) return plat::kErrorNoMoreItems;
        return CopyName(found.values()[index].name, name, nameSize);
    });
}

RegResult PosixRegistry::QueryValue(RegKeyHandle key, const std::string& name, std::uint32_t* type,
                                    unsigned char* data, std::uint32_t* size) {
    std::lock_guard<std::mutex> guard(m_impl->mutex);
    OpenKeyEntry entry;
    RegResult result = m_impl->Resolve(key, &entry);
    if (result != plat::kErrorSuccess) return result;
    if (data && !size) return plat::kErrorInvalidParameter;
    if (!(entry.access & plat::kKeyQueryValue)) return plat::kErrorAccessDenied;
    const bool wide = m_impl->stores[entry.hive].WideStrings();
    return m_impl->ReadKey(entry, [&](const HiveKey& found) {
        const reg::HiveValue* value = found.FindValue(name);
        if (!value) return plat::kErrorFileNotFound;
        std::string converted;
        const std::string* bytes = &value->data;
        if (wide && IsStringType(value->type)) {
            if (!WideBytesToAnsi(value->data, &converted)) return plat::kErrorInvalidParameter;
            bytes = &converted;
        }
        const auto needed = static_cast<std::uint32_t>(bytes->size());
        if (type) *type = value->type;
        if (!data) {
            if (size) *size = needed;
            return plat::kErrorSuccess;
        }
        if (*size < needed) {
            *size = needed;
            return plat::kErrorMoreData;
        }
        std::memcpy(data, bytes->data(), needed);
        *size = needed;
        return plat::kErrorSuccess;
    });
}

RegResult PosixRegistry::SetValue(RegKeyHandle key, const std::string& name, std::uint32_t type,
                                  const unsigned char* data, std::uint32_t size) {
    std::lock_guard<std::mutex> guard(m_impl->mutex);
    OpenKeyEntry entry;
    RegResult result = m_impl->Resolve(key, &entry);
    if (result != plat::kErrorSuccess) return result;
    if (!data && size != 0) return plat::kErrorInvalidParameter;
    if (!reg::IsStorableValueName(name)) return plat::kErrorInvalidParameter;
    if (!(entry.access & plat::kKeySetValue)) return plat::kErrorAccessDenied;
    std::string bytes(reinterpret_cast<const char*>(data), data ? size : 0);
    if (m_impl->stores[entry.hive].WideStrings() && IsStringType(type)) {
        std::string wide;
        if (!AnsiToWideBytes(bytes, &wide)) return plat::kErrorInvalidParameter;
        bytes = std::move(wide);
    }
    return m_impl->stores[entry.hive].Modify([&](HiveKey& root, bool* changed) {
        HiveKey* found = reg::FindKey(root, entry.path);
        if (!found) return plat::kErrorKeyDeleted;
        *changed = found->SetValue(name, type, std::move(bytes));
        return plat::kErrorSuccess;
    });
}

RegResult PosixRegistry::DeleteKey(RegKeyHandle parent, const std::string& subKey) {
    std::lock_guard<std::mutex> guard(m_impl->mutex);
    OpenKeyEntry entry;
    std::vector<std::string> names;
    RegResult result = m_impl->ResolveSubKey(parent, subKey, &entry, &names);
    if (result != plat::kErrorSuccess) return result;
    const std::vector<std::string> target = Joined(entry.path, names);
    if (target.empty()) return plat::kErrorAccessDenied;  // a hive root

    result = m_impl->stores[entry.hive].Modify([&](HiveKey& root, bool* changed) {
        if (!reg::FindKey(root, entry.path)) return plat::kErrorKeyDeleted;
        const std::vector<std::string> container(target.begin(), target.end() - 1);
        HiveKey* holder = reg::FindKey(root, container);
        const HiveKey* doomed = holder ? holder->FindSubKey(target.back()) : nullptr;
        if (!doomed) return plat::kErrorFileNotFound;
        if (doomed->SubKeyCount() != 0) return plat::kErrorAccessDenied;
        holder->RemoveSubKey(target.back());
        *changed = true;
        return plat::kErrorSuccess;
    });
    if (result == plat::kErrorSuccess) m_impl->handles.MarkDeleted(entry.hive, target);
    return result;
}

RegResult PosixRegistry::CloseKey(RegKeyHandle key) {
    if (IsUnstorableRoot(key)) return plat::kErrorInvalidHandle;
    if (IsPredefined(key)) return plat::kErrorSuccess;  // predefined keys are never closed
    std::lock_guard<std::mutex> guard(m_impl->mutex);
    return m_impl->handles.Remove(key) ? plat::kErrorSuccess : plat::kErrorInvalidHandle;
}

bool PosixRegistry::CheckHives(std::vector<std::string>* problems) {
    std::lock_guard<std::mutex> guard(m_impl->mutex);
    bool sound = true;
    for (reg::HiveStore& store : m_impl->stores) {
        std::string problem;
        if (store.Check(&problem)) continue;
        sound = false;
        if (problems) problems->push_back(problem);
    }
    return sound;
}

}  // namespace posixplat
