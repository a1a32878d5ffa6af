// The hive file: what it looks like, and that every value comes back byte for byte.
#include <vector>

#include "tests/posix/registry/registry_test_support.h"

namespace {

using namespace regtest;
using plat::RegKeyHandle;

std::string Bytes(const char* text, std::size_t size) { return std::string(text, size); }

std::string AllByteValues(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + 3);
    return bytes;
}

struct FormatCase {
    const char* what;
    std::string name;
    std::uint32_t type;
    std::string data;
    std::string line;  // expected line in the file; empty: not checked
};

std::vector<FormatCase> Cases() {
    const std::string text510(510, 'x');
    return {
        {"clean string", "Path", plat::kRegSz, Bytes("C:\\Program Files\\Velstra\\Mirel\0", 31),
         R"("Path"="C:\\Program Files\\Velstra\\Mirel")"},
        {"quotes and backslashes", "a\"b\\c", plat::kRegSz, Bytes("say \"hi\" \\ bye\\\0", 16),
         R"("a\"b\\c"="say \"hi\" \\ bye\\")"},
        {"Japanese", "ハルネア", plat::kRegSz, "表示\\データ" + std::string(1, '\0'), "\"ハルネア\"=\"表示\\\\データ\""},
        {"tab kept in quotes", "Tab", plat::kRegSz, Bytes("a\tb\0", 4), "\"Tab\"=\"a\tb\""},
        {"empty string", "Empty", plat::kRegSz, Bytes("\0", 1), R"("Empty"="")"},
        {"default value", "", plat::kRegSz, Bytes("default\0", 8), R"(@="default")"},
        {"value named @", "@", plat::kRegSz, Bytes("at\0", 3), R"("@"="at")"},
        {"no terminator", "NoZero", plat::kRegSz, "abc", R"("NoZero"=hex(1):61,62,63)"},
        {"embedded zero", "Embedded", plat::kRegSz, Bytes("a\0b\0", 4), R"("Embedded"=hex(1):61,00,62,00)"},
        {"two terminators", "Double", plat::kRegSz, Bytes("ab\0\0", 4), R"("Double"=hex(1):61,62,00,00)"},
        {"only zeros", "Zeros", plat::kRegSz, Bytes("\0\0", 2), R"("Zeros"=hex(1):00,00)"},
        {"no data at all", "Nothing", plat::kRegSz, "", R"("Nothing"=hex(1):)"},
        {"code page 932 bytes", "Cp932", plat::kRegSz, Bytes("\x95\x5c\0", 3), R"("Cp932"=hex(1):95,5c,00)"},
        {"lone continuation byte", "Bad8", plat::kRegSz, Bytes("a\x80\0", 3), R"("Bad8"=hex(1):61,80,00)"},
        {"overlong slash", "Overlong", plat::kRegSz, Bytes("\xC0\xAF\0", 3), R"("Overlong"=hex(1):c0,af,00)"},
        {"surrogate", "Surrogate", plat::kRegSz, Bytes("\xED\xA0\x80\0", 4), R"("Surrogate"=hex(1):ed,a0,80,00)"},
        {"line feed", "LF", plat::kRegSz, Bytes("a\nb\0", 4), R"("LF"=hex(1):61,0a,62,00)"},
        {"carriage return", "CR", plat::kRegSz, Bytes("a\r\0", 3), R"("CR"=hex(1):61,0d,00)"},
        {"expandable string", "Expand", plat::kRegExpandSz, Bytes("%X%\0", 4), R"("Expand"=hex(2):25,58,25,00)"},
        {"dword", "Install KOE", plat::kRegDword, Bytes("\x1f\0\0\0", 4), R"("Install KOE"=dword:0000001f)"},
        {"dword high bits", "High", plat::kRegDword, Bytes("\x78\x56\x34\xf2", 4), R"("High"=dword:f2345678)"},
        {"short dword", "Short", plat::kRegDword, Bytes("\x01\0\0", 3), R"("Short"=hex(4):01,00,00)"},
        {"long dword", "Long", plat::kRegDword, Bytes("\x01\0\0\0\0", 5), R"("Long"=hex(4):01,00,00,00,00)"},
        {"empty binary", "EmptyBin", plat::kRegBinary, "", R"("EmptyBin"=hex(3):)"},
        {"odd type", "Odd", 0x12345678u, Bytes("\xff", 1), R"("Odd"=hex(12345678):ff)"},
        {"type none", "None", plat::kRegNone, Bytes("\0", 1), R"("None"=hex(0):00)"},
        {"511 bytes", "S511", plat::kRegSz, text510 + std::string(1, '\0'), "\"S511\"=\"" + text510 + "\""},
        {"512 bytes", "S512", plat::kRegSz, text510 + "y" + std::string(1, '\0'), ""},
        {"513 bytes", "S513", plat::kRegSz, text510 + "yz" + std::string(1, '\0'), ""},
        {"513 binary bytes", "B513", plat::kRegBinary, AllByteValues(513), ""},
        {"4096 zero bytes", "Zero4k", plat::kRegBinary, std::string(4096, '\0'), ""},
    };
}

class RegistryFormat : public ::testing::Test {
protected:
    std::string Folder() const { return m_folder.path() + "/registry"; }
    std::string HivePath() const { return Folder() + "/HKEY_LOCAL_MACHINE.reg"; }
    TempFolder m_folder;
};

TEST_F(RegistryFormat, EveryValueRoundTripsByteForByte) {
    const std::vector<FormatCase> cases = Cases();
    {
        posixplat::PosixRegistry writer(Folder(), "tester");
        RegKeyHandle key = MustCreate(writer, plat::kHkeyLocalMachine, "Software\\Odd Data");
        // Each set re-reads and rewrites the file, so earlier values pass through the
        // parser and the writer again and again.
        for (const FormatCase& c : cases) ASSERT_EQ(Set(writer, key, c.name, c.type, c.data), plat::kErrorSuccess) << c.what;
        writer.CloseKey(key);
    }
    const std::string text = ReadFile(HivePath());
    posixplat::PosixRegistry reader(Folder(), "tester");
    RegKeyHandle key = MustOpen(reader, plat::kHkeyLocalMachine, "software\\odd data", plat::kKeyRead);
    for (const FormatCase& c : cases) {
        const StoredValue stored = Query(reader, key, c.name);
        EXPECT_EQ(stored.result, plat::kErrorSuccess) << c.what;
        EXPECT_EQ(stored.type, c.type) << c.what;
        EXPECT_EQ(stored.bytes, c.data) << c.what;
        if (!c.line.empty()) {
            EXPECT_NE(text.find("\n" + c.line + "\n"), std::string::npos) << c.what;
        }
    }
    // Long binary data is wrapped onto continuation lines.
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("  ", 0) == 0 || line.find("=hex(") != std::string::npos) {
            EXPECT_LE(line.size(), 80u) << line;
        }
    }
    // Values keep the order they were first set in.
    for (std::uint32_t i = 0; i < cases.size(); ++i) {
        char name[64];
        std::uint32_t size = sizeof name;
        ASSERT_EQ(reader.EnumValue(key, i, name, &size), plat::kErrorSuccess);
        EXPECT_EQ(std::string(name, size), cases[i].name);
    }
    reader.CloseKey(key);
}

TEST_F(RegistryFormat, FileLayoutIsSortedSectionsWithEmptyKeysKept) {
    posixplat::PosixRegistry registry(Folder(), "tester");
    RegKeyHandle mirel = MustCreate(registry, plat::kHkeyLocalMachine, "Software\\Velstra\\Mirel");
    ASSERT_EQ(SetString(registry, mirel, "Path", "C:\\Program Files\\Velstra\\Mirel"), plat::kErrorSuccess);
    ASSERT_EQ(Set(registry, mirel, "Install KOE", plat::kRegDword, Bytes("\0\0\0\0", 4)), plat::kErrorSuccess);
    registry.CloseKey(MustCreate(registry, plat::kHkeyLocalMachine, "software\\Alpha\\Empty"));
    ASSERT_EQ(SetString(registry, plat::kHkeyLocalMachine, "", "root"), plat::kErrorSuccess);
    registry.CloseKey(mirel);

    EXPECT_EQ(ReadFile(HivePath()),
              "REGEDIT4\n"
              "\n"
              "[HKEY_LOCAL_MACHINE]\n"
              "@=\"root\"\n"
              "\n"
              "[HKEY_LOCAL_MACHINE\\Software]\n"
              "\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Alpha]\n"
              "\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Alpha\\Empty]\n"
              "\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Velstra]\n"
              "\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Velstra\\Mirel]\n"
              "\"Path\"=\"C:\\\\Program Files\\\\Velstra\\\\Mirel\"\n"
              "\"Install KOE\"=dword:00000000\n"
              "\n");

    // Deleting the last key leaves the hive's header only.
    for (const char* path : {"Software\\Velstra\\Mirel", "Software\\Velstra", "Software\\Alpha\\Empty",
                             "Software\\Alpha", "Software"}) {
        ASSERT_EQ(registry.DeleteKey(plat::kHkeyLocalMachine, path), plat::kErrorSuccess) << path;
    }
    EXPECT_EQ(ReadFile(HivePath()), "REGEDIT4\n\n[HKEY_LOCAL_MACHINE]\n@=\"root\"\n\n");
}

TEST_F(RegistryFormat, HandWrittenFilesInTheLooserFormsAreRead) {
    std::filesystem::create_directories(Folder());
    WriteFile(HivePath(),
              "\xEF\xBB\xBFREGEDIT4\r\n"
              "\r\n"
              "; written by hand\r\n"
              "[hkey_local_machine\\Software\\Velstra\\Mirel]\r\n"
              "\"Bin\"=hex:01,02,\\\r\n"
              "  03,04\r\n"
              "\"Short\"=dword:1F\r\n"
              "\"Text\"=\"a \\\"b\\\"\"\r\n"
              "\"Text\"=\"last one wins\"\r\n"
              "\"Spaced\"=hex(3): 0a , 0B\r\n");
    posixplat::PosixRegistry registry(Folder(), "tester");
    RegKeyHandle key = MustOpen(registry, plat::kHkeyLocalMachine, "Software\\Velstra\\Mirel", plat::kKeyRead);
    const struct {
        const char* name;
        std::uint32_t type;
        std::string data;
    } expected[] = {
        {"Bin", plat::kRegBinary, Bytes("\x01\x02\x03\x04", 4)},
        {"Short", plat::kRegDword, Bytes("\x1f\0\0\0", 4)},
        {"Text", plat::kRegSz, Bytes("last one wins\0", 14)},
        {"Spaced", plat::kRegBinary, Bytes("\x0a\x0b", 2)},
    };
    for (const auto& e : expected) {
        const StoredValue stored = Query(registry, key, e.name);
        EXPECT_EQ(stored.result, plat::kErrorSuccess) << e.name;
        EXPECT_EQ(stored.type, e.type) << e.name;
        EXPECT_EQ(stored.bytes, e.data) << e.name;
    }
    // The parent keys the file did not list exist all the same.
    RegKeyHandle software = MustOpen(registry, plat::kHkeyLocalMachine, "Software", plat::kKeyRead);
    char name[16];
    std::uint32_t size = sizeof name;
    ASSERT_EQ(registry.EnumKey(software, 0, name, &size), plat::kErrorSuccess);
    EXPECT_EQ(std::string(name, size), "Velstra");
    registry.CloseKey(software);
    registry.CloseKey(key);
}

}  // namespace
