#pragma once
// Throw-away folders and registry keys on the real Windows system the tests run on
// (under Wine, the test prefix), and the platform under test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/win32_api.h"
#include "platform/win32/win32_platform.h"

namespace win32test {

// Japanese names as the program holds them, in UTF-8; in code page 932 the trail byte
// of 表 would be a backslash.
inline const std::string kHarunea = "ハルネア";
inline const std::string kHyo = "表";

// A fresh folder below the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    // Windows path without a trailing backslash.
    const std::string& path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

// Removes a file or folder tree, clearing read-only attributes on the way.
void RemoveTree(const std::string& path);
// Writes a whole file with the system's own calls; false on failure.
bool WriteFileBytes(const std::string& path, const std::string& contents);

// A fresh key below HKCU\Software\MirelWin32Tests, deleted with its tree.
class TestKey {
public:
    TestKey();
    ~TestKey();
    TestKey(const TestKey&) = delete;
    TestKey& operator=(const TestKey&) = delete;
    // Path below HKEY_CURRENT_USER.
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

// A test over the real Win32 platform.
class Win32PlatformTest : public ::testing::Test {
protected:
    plat::Platform& platform() { return m_system.platform(); }
    plat::FileSystem& fs() { return platform().fileSystem; }
    plat::Registry& registry() { return platform().registry; }

private:
    win32plat::Win32Platform m_system;
};

}  // namespace win32test
