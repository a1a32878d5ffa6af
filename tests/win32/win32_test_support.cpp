#include "tests/win32/win32_test_support.h"

#include <atomic>
#include <stdexcept>

#include "platform/win32/win32_wide_text.h"
#include "tests/support/fixtures/system_tree_win32.h"

namespace win32test {
namespace {

std::string UniqueName(const char* stem) {
    static std::atomic<unsigned> counter{0};
    return std::string(stem) + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
}

}  // namespace

TempFolder::TempFolder() {
    wchar_t base[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, base);
    if (length == 0 || length > MAX_PATH) throw std::runtime_error("no temporary folder");
    m_path = win32plat::Narrow(base, length) + UniqueName("mirel-win32");
    if (!CreateDirectoryW(win32plat::Wide(m_path)->c_str(), nullptr)) throw std::runtime_error("cannot create " + m_path);
}

TempFolder::~TempFolder() { RemoveTree(m_path); }

void RemoveTree(const std::string& path) { testsupport::RemoveSystemTree(path); }

bool WriteFileBytes(const std::string& path, const std::string& contents) {
    const auto wide = win32plat::Wide(path);
    if (!wide) return false;
    HANDLE file = CreateFileW(wide->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == contents.size();
}

TestKey::TestKey() : m_path("Software\\MirelWin32Tests\\" + UniqueName("key")) {
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, win32plat::Wide(m_path)->c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        throw std::runtime_error("cannot create " + m_path);
    RegCloseKey(key);
}

TestKey::~TestKey() { RegDeleteTreeW(HKEY_CURRENT_USER, win32plat::Wide(m_path)->c_str()); }

}  // namespace win32test
