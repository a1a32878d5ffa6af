#pragma once
// Helpers shared by the registry tests: a private registry folder and byte access to
// values and hive files.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "platform/posix/registry/posix_registry.h"

namespace regtest {

class TempFolder {
public:
    // In memory when the machine offers it: every registry change is flushed to disk,
    // and on a real disk those flushes would make the many-write tests slow.
    TempFolder() {
        std::error_code ec;
        const std::filesystem::path base = access("/dev/shm", W_OK) == 0 ? std::filesystem::path("/dev/shm")
                                                                           : std::filesystem::temp_directory_path(ec);
        std::string pattern = (base / "mirel-registry-XXXXXX").string();
        if (mkdtemp(pattern.data())) m_path = pattern;
    }
    ~TempFolder() {
        std::error_code ec;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline const unsigned char* Data(const std::string& bytes) {
    return reinterpret_cast<const unsigned char*>(bytes.data());
}

inline plat::RegResult Set(plat::Registry& registry, plat::RegKeyHandle key, const std::string& name,
                           std::uint32_t type, const std::string& bytes) {
    return registry.SetValue(key, name, type, Data(bytes), static_cast<std::uint32_t>(bytes.size()));
}

inline plat::RegResult SetString(plat::Registry& registry, plat::RegKeyHandle key, const std::string& name,
                                 const std::string& text) {
    return Set(registry, key, name, plat::kRegSz, text + '\0');
}

struct StoredValue {
    plat::RegResult result = plat::kErrorSuccess;
    std::uint32_t type = 0;
    std::string bytes;
};

// The whole value, asking for its size first.
inline StoredValue Query(plat::Registry& registry, plat::RegKeyHandle key, const std::string& name) {
    StoredValue value;
    std::uint32_t size = 0;
    value.result = registry.QueryValue(key, name, &value.type, nullptr, &size);
    if (value.result != plat::kErrorSuccess) return value;
    value.bytes.assign(size, '\0');
    value.result = registry.QueryValue(key, name, &value.type, reinterpret_cast<unsigned char*>(value.bytes.data()),
                                       &size);
    value.bytes.resize(size);
    return value;
}

// Opens `path` below `root`, failing the test when it cannot.
inline plat::RegKeyHandle MustOpen(plat::Registry& registry, plat::RegKeyHandle root, const std::string& path,
                                   std::uint32_t access = plat::kKeyAllAccess) {
    plat::RegKeyHandle key = plat::kNullKey;
    EXPECT_EQ(registry.OpenKey(root, path, access, &key), plat::kErrorSuccess) << path;
    return key;
}

inline plat::RegKeyHandle MustCreate(plat::Registry& registry, plat::RegKeyHandle root, const std::string& path) {
    plat::RegKeyHandle key = plat::kNullKey;
    EXPECT_EQ(registry.CreateKey(root, path, &key), plat::kErrorSuccess) << path;
    return key;
}

}  // namespace regtest
