#pragma once
// One installer dialog over the real platform in a temporary system root, seen through
// the fault platform (which notes what the core asked of the registry and the shell and
// fails what a test plans), with the string table open to overrides. Registry contents
// are set up and inspected through the real registry, past the faults.
#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/headless_dialog_host.h"
#include "app/installer_dlg.h"
#include "platform/fault/fault_platform.h"
#include "tests/support/string_override.h"
#include "tests/support/fixtures/root_platform.h"
#include "tests/support/fixtures/temp_system_root.h"

inline constexpr const char* kRecordKey = "Software\\Velstra\\Mirel";
inline constexpr const char* kPublisherKey = "Software\\Velstra";
inline constexpr const char* kShellFoldersKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

struct RawValue {
    std::uint32_t type = 0;
    std::string bytes;
};

inline std::unique_ptr<testsupport::RootPlatform> OpenPosixPlatform(const testsupport::TempSystemRoot& root) {
    std::string error;
    auto platform = testsupport::OpenRootPlatform(root, &error);
    if (!platform) ADD_FAILURE() << error;
    return platform;
}

class RegistryTestEnv {
public:
    RegistryTestEnv()
        : m_posix(OpenPosixPlatform(m_root)),
          strings(real().text),
          m_withStrings(WithText(real(), strings)),
          faults(m_withStrings),
          dlg(faults.platform(), host) {
        // Shortcuts need the component system, which the install run starts before them.
        real().shell.InitializeComponents();
    }

    plat::Platform& real() { return m_posix->platform(); }
    faultplat::FaultPlan& plan() { return faults.plan(); }
    // Registry keys the core opened or created and has not closed.
    int OpenKeys() const { return faults.counters().openRegistryKeys; }
    const std::vector<std::string>& RegistryLog() const { return faults.trace().registryLog; }
    const std::deque<faultplat::LinkRecord>& Links() const { return faults.trace().links; }

    // --- HKEY_CURRENT_USER, through the real registry ---
    void MakeKey(const std::string& path) {
        plat::RegKeyHandle key = plat::kNullKey;
        ASSERT_EQ(real().registry.CreateKey(plat::kHkeyCurrentUser, path, &key), plat::kErrorSuccess) << path;
        real().registry.CloseKey(key);
    }
    void PutRaw(const std::string& path, const std::string& name, std::uint32_t type, const std::string& bytes) {
        plat::RegKeyHandle key = plat::kNullKey;
        ASSERT_EQ(real().registry.CreateKey(plat::kHkeyCurrentUser, path, &key), plat::kErrorSuccess) << path;
        EXPECT_EQ(real().registry.SetValue(key, name, type, reinterpret_cast<const unsigned char*>(bytes.data()),
                                           static_cast<std::uint32_t>(bytes.size())),
                  plat::kErrorSuccess)
            << name;
        real().registry.CloseKey(key);
    }
    void PutString(const std::string& path, const std::string& name, const std::string& text) {
        PutRaw(path, name, plat::kRegSz, text + std::string(1, '\0'));
    }
    void PutDword(const std::string& path, const std::string& name, std::uint32_t value) {
        const char bytes[4] = {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
                               static_cast<char>((value >> 16) & 0xFF), static_cast<char>((value >> 24) & 0xFF)};
        PutRaw(path, name, plat::kRegDword, std::string(bytes, 4));
    }
    bool KeyExists(const std::string& path) {
        plat::RegKeyHandle key = plat::kNullKey;
        if (real().registry.OpenKey(plat::kHkeyCurrentUser, path, plat::kKeyRead, &key) != plat::kErrorSuccess) {
            return false;
        }
        real().registry.CloseKey(key);
        return true;
    }
    std::optional<RawValue> Value(const std::string& path, const std::string& name) {
        plat::RegKeyHandle key = plat::kNullKey;
        if (real().registry.OpenKey(plat::kHkeyCurrentUser, path, plat::kKeyRead, &key) != plat::kErrorSuccess) {
            return std::nullopt;
        }
        std::vector<unsigned char> data(4096);
        std::uint32_t size = static_cast<std::uint32_t>(data.size());
        RawValue value;
        const plat::RegResult result = real().registry.QueryValue(key, name, &value.type, data.data(), &size);
        real().registry.CloseKey(key);
        if (result != plat::kErrorSuccess) return std::nullopt;
        value.bytes.assign(reinterpret_cast<const char*>(data.data()), size);
        return value;
    }
    void DeleteKey(const std::string& path) {
        ASSERT_EQ(real().registry.DeleteKey(plat::kHkeyCurrentUser, path), plat::kErrorSuccess) << path;
    }

    // Points the current user's shell folders at the given Windows paths.
    void SetShellFolders(const std::string& desktop, const std::string& programs) {
        PutString(kShellFoldersKey, "Desktop", desktop);
        PutString(kShellFoldersKey, "Programs", programs);
    }

    // --- files, through the real file system ---
    bool Exists(const std::string& windowsPath) { return real().fileSystem.Exists(windowsPath); }
    void MakeFolder(const std::string& windowsPath) {
        ASSERT_EQ(dlg.CreateFolderTree(windowsPath), 1) << windowsPath;
    }
    void MakeFile(const std::string& windowsPath) {
        auto file = real().fileSystem.OpenForWrite(windowsPath);
        ASSERT_TRUE(file) << windowsPath;
        ASSERT_TRUE(file->Write("x", 1));
    }

private:
    testsupport::TempSystemRoot m_root;
    std::unique_ptr<testsupport::RootPlatform> m_posix;

public:
    StringOverride strings;

private:
    plat::Platform m_withStrings;

public:
    faultplat::FaultPlatform faults;
    HeadlessDialogHost host;
    CInstallerDlg dlg;
};

// Expected REG_SZ data: the text and its terminating zero.
inline RawValue Sz(const std::string& text) { return RawValue{plat::kRegSz, text + std::string(1, '\0')}; }
inline RawValue Dword(std::uint32_t value) {
    const char bytes[4] = {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
                           static_cast<char>((value >> 16) & 0xFF), static_cast<char>((value >> 24) & 0xFF)};
    return RawValue{plat::kRegDword, std::string(bytes, 4)};
}
inline bool operator==(const RawValue& a, const RawValue& b) { return a.type == b.type && a.bytes == b.bytes; }
inline void PrintTo(const RawValue& value, std::ostream* out) {
    *out << "type " << value.type << " [";
    for (unsigned char c : value.bytes) *out << ' ' << static_cast<unsigned>(c);
    *out << " ]";
}
