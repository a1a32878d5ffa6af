// Wine's registry files, against files Wine wrote itself (tests/posix/wine/data: a prefix's
// user.reg after `wine reg add` and `wine regedit` of values of every type with Japanese
// names and data, and sections cut whole from its system.reg).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <set>
#include <vector>

#include "platform/posix/codepage/cp932_encoding.h"
#include "platform/posix/wine/hive/wine_hive_format.h"
#include "platform/posix/wine/hive/wine_key_lines.h"
#include "platform/posix/wine/hive/wine_name_order.h"

namespace {

using namespace posixplat::reg;
namespace fs = std::filesystem;

// 2026-12-07 16:00:00.1234567 UTC, and the same as Wine writes it on a section.
constexpr std::uint64_t kNow = 0x01DD8664034D5687ull;
constexpr const char* kNowSection = "] 1796659200\n#time=1dd8664034d5687\n";

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

fs::path DataFile(const char* name) { return fs::path(MIREL_SOURCE_DIR) / "tests/posix/wine/data" / name; }

struct Hive {
    std::unique_ptr<HiveKey> root;
    WineHiveLayout layout;
    std::string text;
};

Hive ParseFile(const fs::path& path) {
    Hive hive{std::make_unique<HiveKey>("HKEY_CURRENT_USER"), {}, ReadFile(path)};
    std::string error;
    EXPECT_TRUE(ParseWineHive(hive.text, hive.root.get(), &hive.layout, &error)) << path << ": " << error;
    return hive;
}

std::string Serialise(const Hive& hive, WineHiveLayout* next = nullptr) {
    std::string text;
    std::string error;
    EXPECT_TRUE(SerialiseWineHive(*hive.root, hive.layout, kNow, &text, next, &error)) << error;
    return text;
}

std::string Utf16(std::u16string_view text) {
    std::string bytes;
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes + std::string(2, '\0');
}

std::string Bytes(std::initializer_list<int> bytes) {
    std::string data;
    for (int b : bytes) data += static_cast<char>(b);
    return data;
}

std::string Counting(int count) {
    std::string data;
    for (int i = 0; i < count; ++i) data += static_cast<char>(i);
    return data;
}

// The text of the block at `path` ("A\\B"), which must exist.
const WineKeyBlock& BlockAt(const WineHiveLayout& layout, const std::vector<std::string>& path) {
    for (const WineKeyBlock& block : layout.blocks) {
        if (block.path == path) return block;
    }
    ADD_FAILURE() << "no section for the key";
    static const WineKeyBlock none;
    return none;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

const char* const kFixtures[] = {"wine_user.reg", "wine_system_excerpt.reg"};

TEST(WineHiveFormat, UnchangedFilesComeBackByteForByte) {
    for (const char* name : kFixtures) {
        SCOPED_TRACE(name);
        const Hive hive = ParseFile(DataFile(name));
        WineHiveLayout next;
        EXPECT_EQ(Serialise(hive, &next), hive.text);
        ASSERT_EQ(next.blocks.size(), hive.layout.blocks.size());
        for (std::size_t i = 0; i < next.blocks.size(); ++i) EXPECT_EQ(next.blocks[i].text, hive.layout.blocks[i].text);
    }
    // The root has no section of its own, even in a hive without keys.
    const std::string empty = "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=win64\n";
    HiveKey root("HKEY_LOCAL_MACHINE");
    WineHiveLayout layout;
    std::string error;
    std::string written;
    ASSERT_TRUE(ParseWineHive(empty, &root, &layout, &error)) << error;
    ASSERT_TRUE(SerialiseWineHive(root, layout, kNow, &written, nullptr, &error)) << error;
    EXPECT_EQ(written, empty);
}

// Every key, written from the tree with the time Wine gave it, comes out as Wine wrote
// it: names and data escaped, values sorted, hex data wrapped, #link kept.
void ExpectEveryKeyWrittenAsWineWroteIt(const Hive& hive) {
    for (const WineKeyBlock& block : hive.layout.blocks) {
        const std::size_t section = block.text.find('[');
        const std::size_t time = block.text.find("\n#time=");
        ASSERT_NE(time, std::string::npos) << block.text;
        const std::uint64_t fileTime = std::stoull(block.text.substr(time + 7, 16), nullptr, 16);
        std::string options;
        if (block.text.find("\n#link\n") != std::string::npos) options = "#link\n";
        std::string written;
        std::string error;
        ASSERT_TRUE(AppendWineKeySection(written, block.path, *FindKey(*hive.root, block.path), fileTime, options,
                                         &error));
        EXPECT_EQ(written, block.text.substr(section));
    }
}

TEST(WineHiveFormat, EveryKeyIsWrittenAsWineWroteIt) {
    for (const char* name : kFixtures) {
        SCOPED_TRACE(name);
        const Hive hive = ParseFile(DataFile(name));
        ASSERT_GT(hive.layout.blocks.size(), 20u);
        ExpectEveryKeyWrittenAsWineWroteIt(hive);
    }
}

struct ValueCase {
    std::vector<std::string> key;
    std::string name;
    std::uint32_t type;
    std::string data;
};

TEST(WineHiveFormat, ValuesHoldWhatWineHolds) {
    const Hive hive = ParseFile(DataFile("wine_user.reg"));
    const std::vector<std::string> lab = {"Software", "WineRegLab", "日本語キー"};
    const std::vector<std::string> imported = {"Software", "WineRegLab", "Imported"};
    const ValueCase cases[] = {
        {lab, "", 1, Utf16(u"既定値")},
        {lab, "名前", 1, Utf16(u"データ：ハルネア")},
        {lab, "Path", 1, Utf16(u"C:\\Program Files\\Velstra\\\"quoted\"")},
        {lab, "Expand", 2, Utf16(u"%SystemRoot%\\日本")},
        {lab, "Multi", 7, Utf16(std::u16string(u"一\0二\0three\0", 10))},
        {lab, "Dword", 4, Bytes({0x78, 0x56, 0x34, 0x12})},
        {lab, "Qword", 11, Bytes({0x88, 0x77, 0x66, 0x55, 0x44, 0x33, 0x22, 0x11})},
        {lab, "BigEndian", 5, Bytes({4, 3, 2, 1})},
        {lab, "Binary", 3, Counting(100)},
        {lab, "None", 0, Bytes({0, 0})},
        {lab, "Empty", 1, Utf16(u"")},
        {lab, "HexRule", 1, Utf16(u"éa日g日a😀x")},
        {lab, "Controls", 1, Utf16(u"tab\there\x1b" u"escape\x01" u"5digit\x01" u"end\x7f" u"del")},
        {lab, "a\"b\\c[d]", 1, Utf16(u"x\"y\\z[w]")},
        {lab, "ＡＶ", 1, Utf16(u"fullwidth-upper")},
        {lab, std::string(40, 'L') + "長い名前", 3, Counting(61)},
        {{"Software", "WineRegLab", "br[ack]et"}, "x", 1, Utf16(u"y")},
        {imported, "OddString", 1, Utf16(std::u16string(u"A\0B", 3))},
        {imported, "ShortDword", 4, Bytes({1, 2, 3})},
        {imported, "Type1234", 0x12345678, Bytes({0xab, 0xcd})},
        {imported, "Zero", 3, ""},
        {imported, "@", 1, Utf16(u"at name")},
    };
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(c.name);
        const HiveKey* key = FindKey(*hive.root, c.key);
        ASSERT_NE(key, nullptr);
        const HiveValue* value = key->FindValue(c.name);
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->name, c.name);
        EXPECT_EQ(value->type, c.type);
        EXPECT_EQ(value->data, c.data);
    }
    const HiveKey* empty = FindKey(*hive.root, {"Software", "WineRegLab", "TrulyEmpty"});
    ASSERT_NE(empty, nullptr);
    EXPECT_TRUE(empty->values().empty());
}

// A changed key gets a fresh time and is written in its place; every other byte stays.
TEST(WineHiveFormat, OnlyAChangedKeyIsRewritten) {
    struct Case {
        const char* file;
        std::vector<std::string> key;
        const char* name;
        std::uint32_t type;
        std::string data;
        std::string oldLine;
        std::string newLine;
    } cases[] = {
        {"wine_user.reg", {"Software", "WineRegLab", "日本語キー"}, "Dword", 4, Bytes({7, 0, 0, 0}),
         "\"Dword\"=dword:12345678\n", "\"Dword\"=dword:00000007\n"},
        {"wine_user.reg", {"Software", "WineRegLab", "日本語キー"}, "名前", 1, Utf16(u"新しい"),
         "\"\\x540d\\x524d\"=\"\\x30c7\\x30fc\\x30bf\\xff1a\\x30cf\\x30eb\\x30cd\\x30a2\"\n",
         "\"\\x540d\\x524d\"=\"\\x65b0\\x3057\\x3044\"\n"},
        // The link stays a link.
        {"wine_system_excerpt.reg", {"Software", "Classes", "Wow6432Node", "AppId"}, "SymbolicLinkValue", 6,
         Utf16(u"\\Registry\\X").substr(0, 22), "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Hive hive = ParseFile(DataFile(c.file));
        const std::string oldBlock = BlockAt(hive.layout, c.key).text;
        ASSERT_TRUE(FindKey(*hive.root, c.key)->SetValue(c.name, c.type, c.data));

        const std::size_t sectionEnd = oldBlock.find("\n#time=");
        const std::size_t timeEnd = oldBlock.find('\n', sectionEnd + 1);
        std::string newBlock = oldBlock.substr(0, oldBlock.rfind("] ", sectionEnd)) + kNowSection +
                               oldBlock.substr(timeEnd + 1);
        if (!c.oldLine.empty()) {
            newBlock = Replaced(newBlock, c.oldLine, c.newLine);
        } else {
            const std::size_t value = newBlock.find("\"SymbolicLinkValue\"=");
            newBlock = newBlock.substr(0, value) +
                       "\"SymbolicLinkValue\"=hex(6):5c,00,52,00,65,00,67,00,69,00,73,00,74,00,72,00,79,\\\n"
                       "  00,5c,00,58,00\n";
            EXPECT_NE(newBlock.find("#link\n"), std::string::npos);
        }
        EXPECT_EQ(Serialise(hive), Replaced(hive.text, oldBlock, newBlock));
    }
}

TEST(WineHiveFormat, ADeletedKeyLosesItsSectionsAndNothingElse) {
    Hive hive = ParseFile(DataFile("wine_user.reg"));
    HiveKey* lab = FindKey(*hive.root, {"Software", "WineRegLab"});
    ASSERT_NE(lab, nullptr);
    std::string expected = hive.text;
    // Parent has no section of its own: it exists through its child's.
    const struct {
        const char* key;
        std::vector<std::string> section;
    } cases[] = {{"日本語キー", {"Software", "WineRegLab", "日本語キー"}},
                 {"Parent", {"Software", "WineRegLab", "Parent", "Child"}}};
    for (const auto& c : cases) {
        expected = Replaced(expected, BlockAt(hive.layout, c.section).text, "");
        ASSERT_TRUE(lab->RemoveSubKey(c.key));
    }
    EXPECT_EQ(Serialise(hive), expected);
}

// New keys come after all others, parents before children, siblings in Wine's order
// ('_' before letters, case folded); a key with sub-keys and no values has no section.
TEST(WineHiveFormat, NewKeysFollowTheOthersInWinesOrder) {
    Hive hive = ParseFile(DataFile("wine_user.reg"));
    HiveKey& velstra = hive.root->AddSubKey("Software").AddSubKey("Velstra");
    HiveKey& game = velstra.AddSubKey("ハルネア");
    game.SetValue("Path", 1, Utf16(u"C:\\Program Files\\Velstra\\ハルネア"));
    game.SetValue("Count", 4, Bytes({3, 0, 0, 0}));
    game.SetValue("", 1, Utf16(u"既定"));
    game.AddSubKey("Empty");
    velstra.AddSubKey("_Tools").SetValue("a", 1, Utf16(u"1"));
    velstra.AddSubKey("zeta").SetValue("b", 1, Utf16(u"2"));
    velstra.AddSubKey("Alpha").SetValue("c", 1, Utf16(u"3"));
    hive.root->FindSubKey("Software")->FindSubKey("WineRegLab")->AddSubKey("TrulyEmpty").AddSubKey("Now");

    WineHiveLayout next;
    const std::string written = Serialise(hive, &next);
    const std::string section = kNowSection;
    EXPECT_EQ(written, hive.text +
                           "\n[Software\\\\Velstra\\\\_Tools" + section + "\"a\"=\"1\"\n"
                           "\n[Software\\\\Velstra\\\\Alpha" + section + "\"c\"=\"3\"\n"
                           "\n[Software\\\\Velstra\\\\zeta" + section + "\"b\"=\"2\"\n"
                           "\n[Software\\\\Velstra\\\\\\x30cf\\x30eb\\x30cd\\x30a2" + section +
                           "@=\"\\x65e2\\x5b9a\"\n"
                           "\"Count\"=dword:00000003\n"
                           "\"Path\"=\"C:\\\\Program Files\\\\Velstra\\\\\\x30cf\\x30eb\\x30cd\\x30a2\"\n"
                           "\n[Software\\\\Velstra\\\\\\x30cf\\x30eb\\x30cd\\x30a2\\\\Empty" + section +
                           "\n[Software\\\\WineRegLab\\\\TrulyEmpty\\\\Now" + section);

    // What was written is what the next write starts from.
    Hive again{std::make_unique<HiveKey>("HKEY_CURRENT_USER"), {}, written};
    std::string error;
    ASSERT_TRUE(ParseWineHive(written, again.root.get(), &again.layout, &error)) << error;
    ASSERT_EQ(again.layout.blocks.size(), next.blocks.size());
    for (std::size_t i = 0; i < next.blocks.size(); ++i) {
        EXPECT_EQ(next.blocks[i].path, again.layout.blocks[i].path);
        EXPECT_EQ(next.blocks[i].text, again.layout.blocks[i].text);
        EXPECT_EQ(next.blocks[i].contents, again.layout.blocks[i].contents);
    }
}

TEST(WineHiveFormat, HandEditedFilesAreReadAsWineReadsThem) {
    const std::string text =
        "WINE REGISTRY Version 2\r\n"
        "\r\n"
        "[A\\\\B] 5\r\n"
        "  \"raw\" = \"\xE6\x97\xA5\xFF\\q\\x\\101\"\r\n"
        "\"h\"=hex(2):41 ,0,\\\r\n"
        "   00,0\r\n"
        "[a]\n"
        "; note\n"
        "\"last\"=str:\"x\"";
    HiveKey root("HKEY_CURRENT_USER");
    WineHiveLayout layout;
    std::string error;
    ASSERT_TRUE(ParseWineHive(text, &root, &layout, &error)) << error;
    const HiveKey* b = FindKey(root, {"a", "b"});
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->FindValue("raw")->data, Utf16(u"日qxA"));
    EXPECT_EQ(b->FindValue("h")->data, Bytes({0x41, 0, 0, 0}));
    EXPECT_EQ(b->FindValue("h")->type, 2u);
    EXPECT_EQ(root.FindSubKey("A")->FindValue("last")->data, Utf16(u"x"));

    std::string written;
    ASSERT_TRUE(SerialiseWineHive(root, layout, kNow, &written, nullptr, &error));
    EXPECT_EQ(written, text);
    root.FindSubKey("A")->AddSubKey("New");
    ASSERT_TRUE(SerialiseWineHive(root, layout, kNow, &written, nullptr, &error));
    EXPECT_EQ(written, text + "\n\n[A\\\\New" + kNowSection);
}

std::string Deep(int levels) {
    std::string path = "k";
    for (int i = 1; i < levels; ++i) path += "\\\\k";
    return path;
}

TEST(WineHiveFormat, WhatIsNotAWineRegistryFileIsRefusedWithItsLine) {
    const std::string head = "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\User\n\n#arch=win64\n\n";
    const struct {
        std::string text;
        const char* error;
    } cases[] = {
        {"", "line 1: not a Wine registry file"},
        {"REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n", "line 1: not a Wine registry file"},
        {"WINE REGISTRY Version 1\n", "line 1: not a Wine registry file"},
        {head + "\"a\"=\"b\"\n", "line 6: a value before the first key"},
        {head + "[A] 1\ngarbage\n", "line 7: not a key, a value, an option or a comment"},
        {head + "[A 1\n", "line 6: a key name without its ']'"},
        {head + "[A] 1 2\n", "line 6: text after the key's time"},
        {head + "[A\\\\\\\\B] 1\n", "line 6: an empty key name"},
        {head + "[A\\\\] 1\n", "line 6: an empty key name"},
        {head + "[\\0] 1\n", "line 6: a zero character in a key name"},
        {head + "[\\xd800] 1\n", "line 6: a key name that is not valid UTF-16"},
        {head + "[" + std::string(257, 'k') + "] 1\n", "line 6: a key name longer than 256 characters"},
        {head + "[A]\n\"\\xdc00\"=\"\"\n", "line 7: a value name that is not valid UTF-16"},
        {head + "[" + Deep(513) + "] 1\n", "line 6: a key deeper than 512 levels"},
        {head + "[A]\n\"a=\"b\"\n", "line 7: no '=' after the value name"},
        {head + "[A]\n\"a\n", "line 7: a value name without its closing quote"},
        {head + "[A]\n\"a\"=\"b\n", "line 7: a string without its closing quote"},
        {head + "[A]\n\"a\"=\"b\\\"\n", "line 7: a string without its closing quote"},
        {head + "[A]\n\"a\"=\"b\" c\n", "line 7: text after the string"},
        {head + "[A]\n\"a\"=str(4):\"b\"\n", "line 7: an unknown kind of value"},
        {head + "[A]\n\"a\"=dword:123456789\n", "line 7: a bad dword"},
        {head + "[A]\n\"a\"=dword:\n", "line 7: a bad dword"},
        {head + "[A]\n\"a\"=hex(123456789):00\n", "line 7: a bad hex(type)"},
        {head + "[A]\n\"a\"=hex:0g\n", "line 7: bad hex data"},
        {head + "[A]\n\"a\"=hex:100\n", "line 7: a byte above ff"},
        {head + "[A]\n\"a\"=hex:00,\\ 01\n", "line 7: bad hex data"},
        {head + "[A]\n\"a\"=hex:00,\\\n  01,\\\n", "line 8: hex data continued past the end of the file"},
        {head + "[A]\n\"a\"=hex:00,\\\n[B]\n", "line 8: bad hex data"},
        {head + "[A]\n#time=xyz\n", "line 7: a bad #time"},
        {head + "[A]\n#class=x\n", "line 7: a bad #class"},
        {"WINE REGISTRY Version 2\n#arch=win16\n", "line 2: an unknown #arch"},
        {head + std::string("[A]\n\"a\"=\"b\0c\"\n", 14), "line 7: a zero byte"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        HiveKey root("HKEY_CURRENT_USER");
        WineHiveLayout layout;
        std::string error;
        EXPECT_FALSE(ParseWineHive(c.text, &root, &layout, &error));
        EXPECT_EQ(error, c.error);
    }
}

// The case mapping behind Wine's order, unit by unit against the table Wine's server
// loads, where Wine is installed.
TEST(WineHiveFormat, NamesFoldAsWineFoldsThem) {
    const std::string nls = ReadFile("/usr/share/wine/nls/l_intl.nls");
    if (nls.size() < 4) GTEST_SKIP() << "Wine's l_intl.nls is not installed";
    auto word = [&](std::size_t index) {
        return static_cast<std::uint16_t>(static_cast<unsigned char>(nls[2 * index]) |
                                          (static_cast<unsigned char>(nls[2 * index + 1]) << 8));
    };
    std::size_t offset = word(0);
    offset += word(offset);  // past the upper-case table
    const std::size_t table = offset + 1;
    auto lower = [&](char16_t c) {
        const std::uint16_t delta = word(table + word(table + word(table + (c >> 8)) + ((c >> 4) & 0x0F)) + (c & 0x0F));
        return static_cast<char16_t>(c + delta);
    };
    int differences = 0;
    for (std::uint32_t c = 0; c <= 0xFFFF; ++c) {
        if (WineLowerCase(static_cast<char16_t>(c)) != lower(static_cast<char16_t>(c)) && ++differences < 5) {
            ADD_FAILURE() << std::hex << "U+" << c;
        }
    }
    EXPECT_EQ(differences, 0);
}

// ---- with the real Wine -----------------------------------------------------------------

// Runs a shell command; its standard output and exit status.
int RunShell(const std::string& command, std::string* output = nullptr) {
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        if (output) output->append(buffer, got);
    }
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

class TemporaryFolder {
public:
    TemporaryFolder() {
        std::string pattern = (fs::temp_directory_path() / "mirel-winehive.XXXXXX").string();
        if (mkdtemp(pattern.data())) m_path = pattern;
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        if (!m_path.empty()) fs::remove_all(m_path, ignored);
    }
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

// Output of reg.exe under the prefix's Japanese locale is in code page 932.
std::string Cp932(std::u16string_view text) { return posixplat::Utf16ToCp932(std::u16string(text)); }

// Wine reads back what we write (its own reg.exe finds our keys and its own), and when
// its server writes the file again every section we wrote comes out byte for byte the
// same: escapes, value order, hex wrapping, time stamps.
TEST(WineHiveInterop, WineLoadsWhatWeWriteAndWritesItBackTheSame) {
    if (RunShell("command -v wine >/dev/null 2>&1 && command -v wineserver >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "wine is not installed: the interop with Wine's registry files is not tested";
    }
    const fs::path source = MIREL_SOURCE_DIR;
    const std::string wineRun = Quoted((source / "scripts" / "wine-run").string());
    TemporaryFolder folder;
    ASSERT_FALSE(folder.path().empty());
    const fs::path prefix = folder.path() / "prefix";
    std::string from;
    if (const char* binary = std::getenv("MIREL_TEST_BINARY_DIR")) {
        from = " --from " + Quoted((fs::path(binary) / "wine-template-posix").string());
    }
    const std::string inPrefix = wineRun + " --prefix " + Quoted(prefix.string());
    ASSERT_EQ(RunShell(inPrefix + from + " --create"), 0);

    // Every file of a fresh prefix: read and written back whole, each key as Wine wrote it.
    for (const char* name : {"system.reg", "user.reg", "userdef.reg"}) {
        SCOPED_TRACE(name);
        const Hive hive = ParseFile(prefix / name);
        EXPECT_EQ(Serialise(hive), hive.text);
        ExpectEveryKeyWrittenAsWineWroteIt(hive);
    }

    Hive user = ParseFile(prefix / "user.reg");
    HiveKey& game = user.root->AddSubKey("Software").AddSubKey("Velstra").AddSubKey("ハルネア");
    game.SetValue("", 1, Utf16(u"ハルネア 体験版"));
    game.SetValue("InstallPath", 1, Utf16(u"C:\\Program Files\\Velstra\\ハルネア"));
    game.SetValue("Expand", 2, Utf16(u"%ProgramFiles%\\Velstra"));
    game.SetValue("Discs", 7, Utf16(std::u16string(u"ディスク1\0ディスク2\0", 12)));
    game.SetValue("Version", 4, Bytes({2, 0, 1, 0}));
    game.SetValue("Big", 11, Bytes({1, 2, 3, 4, 5, 6, 7, 8}));
    game.SetValue("Blob", 3, Counting(200));
    game.SetValue("Nothing", 0, "");
    game.SetValue("名前 [\"引用\"]", 1, Utf16(u"値\\\t\"引用\"\x1b" u"0"));
    game.AddSubKey("Empty");
    HiveKey* accessibility = user.root->FindSubKey("Control Panel")->FindSubKey("Accessibility");
    ASSERT_NE(accessibility, nullptr);
    ASSERT_TRUE(accessibility->FindSubKey("ShowSounds")->SetValue("On", 1, Utf16(u"1")));
    HiveKey* urls = FindKey(*user.root, {"Software", "Microsoft", "Windows", "Shell", "Associations", "UrlAssociations"});
    ASSERT_NE(urls, nullptr);
    ASSERT_TRUE(urls->RemoveSubKey("ftp"));
    WineHiveLayout ours;
    const std::string written = Serialise(user, &ours);
    std::ofstream(prefix / "user.reg", std::ios::binary | std::ios::trunc) << written;

    std::string output;
    ASSERT_EQ(RunShell(inPrefix + " reg query " + Quoted("HKCU\\Software\\Velstra\\ハルネア") + " 2>/dev/null", &output), 0);
    for (std::u16string_view expected : {std::u16string_view(u"C:\\Program Files\\Velstra\\ハルネア"),
                                         std::u16string_view(u"ハルネア 体験版"), std::u16string_view(u"REG_EXPAND_SZ"),
                                         std::u16string_view(u"ディスク1\\0ディスク2"), std::u16string_view(u"0x10002"),
                                         std::u16string_view(u"0102030405060708")}) {
        EXPECT_NE(output.find(Cp932(expected)), std::string::npos) << output;
    }
    output.clear();
    ASSERT_EQ(RunShell(inPrefix + " reg query " + Quoted("HKCU\\Environment") + " /v TEMP 2>/dev/null", &output), 0);
    EXPECT_NE(output.find("C:\\users\\"), std::string::npos) << output;
    EXPECT_NE(RunShell(inPrefix + " reg query " + Quoted("HKCU\\Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\ftp") +
                  " >/dev/null 2>&1"),
              0);
    ASSERT_EQ(RunShell("WINEPREFIX=" + Quoted(prefix.string()) + " wineserver -w"), 0);

    // Wine's server marks its own font key changed at every start, so it wrote the file.
    const Hive rewritten = ParseFile(prefix / "user.reg");
    ASSERT_NE(rewritten.text, written) << "Wine did not write user.reg again";
    const std::set<std::vector<std::string>> touchedByWine = {{"Software", "Wine", "Fonts"}};
    std::set<std::vector<std::string>> winePaths;
    for (const WineKeyBlock& block : rewritten.layout.blocks) winePaths.insert(block.path);
    for (const WineKeyBlock& block : ours.blocks) {
        if (touchedByWine.count(block.path)) continue;
        SCOPED_TRACE(block.text);
        ASSERT_TRUE(winePaths.count(block.path));
        EXPECT_EQ(BlockAt(rewritten.layout, block.path).text, block.text);
    }
    EXPECT_EQ(winePaths.size(), ours.blocks.size());
}

}  // namespace
