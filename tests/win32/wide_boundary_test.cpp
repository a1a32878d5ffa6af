// The UTF-8 of the program against the UTF-16 the system keeps: names of Windows'
// longest kind list whole through buffers sized for UTF-8, text values are stored as
// the W calls store them, and names no code page but UTF-8 holds reach the system.
#include <vector>

#include "platform/win32/win32_wide_text.h"
#include "registry/name_buffers.h"
#include "tests/win32/win32_test_support.h"

namespace {

class WideBoundary : public win32test::Win32PlatformTest {
protected:
    plat::RegKeyHandle Open(const std::string& below = "") {
        plat::RegKeyHandle key = plat::kNullKey;
        const std::string path = below.empty() ? m_key.path() : m_key.path() + "\\" + below;
        EXPECT_EQ(registry().CreateKey(plat::kHkeyCurrentUser, path, &key), plat::kErrorSuccess) << path;
        return key;
    }
    win32test::TestKey m_key;
    win32test::TempFolder m_dir;
};

std::string Repeated(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

TEST_F(WideBoundary, TheLongestKeyNamesListWholeInTheBufferSizedForUtf8) {
    const std::uint32_t capacity = registry::KeyNameBufferSize(plat::kCodePageUtf8);
    struct Case {
        const char* what;
        std::string name;
    };
    const Case cases[] = {
        {"255 katakana, 765 bytes", Repeated("ア", 255)},
        {"255 half-width katakana", Repeated("\xEF\xBD\xB1", 255)},
        {"127 characters beyond the basic plane and one more", Repeated("\xF0\x9F\x8E\xAE", 127) + "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        registry().CloseKey(Open(c.name));
        plat::RegKeyHandle parent = Open();
        std::vector<char> name(capacity);
        std::uint32_t size = capacity;
        ASSERT_EQ(registry().EnumKey(parent, 0, name.data(), &size), plat::kErrorSuccess);
        EXPECT_EQ(std::string(name.data(), size), c.name);
        size = static_cast<std::uint32_t>(c.name.size());
        EXPECT_EQ(registry().EnumKey(parent, 0, name.data(), &size), plat::kErrorMoreData);
        EXPECT_EQ(registry().DeleteKey(parent, c.name), plat::kErrorSuccess);
        registry().CloseKey(parent);
    }
}

TEST_F(WideBoundary, TextValuesAreStoredInUtf16AndReadBackInUtf8) {
    const std::string folder = "C:\\users\\J\xC3\xBCrgen\\Desktop";
    plat::RegKeyHandle key = Open();
    const std::string data = folder + '\0';
    ASSERT_EQ(registry().SetValue(key, "Desktop", plat::kRegSz, reinterpret_cast<const unsigned char*>(data.data()),
                                  static_cast<std::uint32_t>(data.size())),
              plat::kErrorSuccess);
    // What the system holds: the UTF-16 with its terminator, as RegSetValueExW leaves it.
    HKEY raw = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, win32plat::Wide(m_key.path())->c_str(), 0, KEY_READ, &raw),
              ERROR_SUCCESS);
    wchar_t stored[64] = {};
    DWORD storedSize = sizeof stored, type = 0;
    ASSERT_EQ(RegQueryValueExW(raw, L"Desktop", nullptr, &type, reinterpret_cast<BYTE*>(stored), &storedSize),
              ERROR_SUCCESS);
    RegCloseKey(raw);
    EXPECT_EQ(std::wstring(stored, storedSize / sizeof(wchar_t)), std::wstring(L"C:\\users\\J\u00FCrgen\\Desktop", 24));

    std::vector<unsigned char> buffer(64, 0xCC);
    std::uint32_t valueType = 0;
    std::uint32_t size = static_cast<std::uint32_t>(buffer.size());
    ASSERT_EQ(registry().QueryValue(key, "Desktop", &valueType, buffer.data(), &size), plat::kErrorSuccess);
    EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + size), data);
    // Sizes count the UTF-8 bytes: one short of them is too small.
    size = static_cast<std::uint32_t>(data.size() - 1);
    EXPECT_EQ(registry().QueryValue(key, "Desktop", &valueType, buffer.data(), &size), plat::kErrorMoreData);
    EXPECT_EQ(size, data.size());
    // Text that is not UTF-8 (code page 932 bytes) is refused, not stored as something else.
    const std::string sjis = "\x83\x6E\x83\x8B";
    EXPECT_NE(registry().SetValue(key, "Bad", plat::kRegSz, reinterpret_cast<const unsigned char*>(sjis.data()), 4),
              plat::kErrorSuccess);
    registry().CloseKey(key);
}

TEST_F(WideBoundary, FilesAndFoldersNamedOutsideEveryAnsiCodePageAreMadeListedAndRemoved) {
    const std::string folder = m_dir / ("J\xC3\xBCrgen " + win32test::kHarunea + " \xED\x95\x9C");  // ü, katakana, 한
    ASSERT_TRUE(fs().CreateFolder(folder));
    ASSERT_TRUE(win32test::WriteFileBytes(folder + "\\" + win32test::kHyo + ".txt", "x"));
    auto listing = fs().Enumerate(folder + "\\*");
    ASSERT_TRUE(listing);
    plat::FolderEntry entry;
    ASSERT_TRUE(listing->Next(&entry));
    EXPECT_EQ(entry.name, win32test::kHyo + ".txt");
    EXPECT_FALSE(listing->Next(&entry));
    EXPECT_TRUE(fs().RemoveFile(folder + "\\" + win32test::kHyo + ".txt"));
    EXPECT_TRUE(fs().RemoveFolder(folder));
    EXPECT_FALSE(fs().Exists(folder));
}

}  // namespace
