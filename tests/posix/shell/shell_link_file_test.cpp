// The byte layout of shell link files, read back by an independent parser and, for one
// small link, compared byte for byte with a layout worked out by hand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/posix/shell/shell_link_file.h"
#include "tests/support/lnk_reader.h"

namespace {

using posixplat::SerializeShellLink;
using posixplat::ShellLinkData;

constexpr std::array<unsigned char, 16> kShellLinkClsid = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                                           0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

lnktest::LnkFile Parse(const std::vector<unsigned char>& bytes) {
    lnktest::LnkFile link;
    std::string error;
    EXPECT_TRUE(lnktest::ReadLnk(bytes, &link, &error)) << error;
    return link;
}

TEST(ShellLinkFile, SmallAsciiLinkMatchesHandLaidBytes) {
    ShellLinkData data;
    data.targetPath = u"C:\\A";
    data.targetPathAnsi = "C:\\A";
    data.workingDirectory = u"C:\\";
    data.driveType = plat::DriveType::Fixed;

    std::vector<unsigned char> expected = {
        0x4C, 0, 0, 0,                                            // HeaderSize
        0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,           // LinkCLSID
        0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46,           //
        0x92, 0, 0, 0,                                            // HasLinkInfo|HasWorkingDir|IsUnicode
        0, 0, 0, 0,                                               // FileAttributes
    };
    expected.insert(expected.end(), 24, 0);                       // three FILETIMEs
    const std::vector<unsigned char> rest = {
        0, 0, 0, 0,                                               // FileSize
        0, 0, 0, 0,                                               // IconIndex
        1, 0, 0, 0,                                               // ShowCommand SW_SHOWNORMAL
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,                       // HotKey, reserved
        // LinkInfo: 0x1C header + 0x11 VolumeID + "C:\A\0" + "\0" = 0x33 bytes
        0x33, 0, 0, 0, 0x1C, 0, 0, 0, 0x01, 0, 0, 0,              // size, header size, flags
        0x1C, 0, 0, 0, 0x2D, 0, 0, 0, 0, 0, 0, 0, 0x32, 0, 0, 0,  // VolumeID, base path, network, suffix
        0x11, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0x10, 0, 0, 0, 0,  // VolumeID: fixed, serial 0, empty label
        'C', ':', '\\', 'A', 0,                                   // LocalBasePath
        0,                                                        // CommonPathSuffix
        3, 0, 'C', 0, ':', 0, '\\', 0,                            // WORKING_DIR
        0, 0, 0, 0,                                               // terminal block
    };
    expected.insert(expected.end(), rest.begin(), rest.end());

    EXPECT_EQ(SerializeShellLink(data), expected);
}

struct LayoutCase {
    const char* label;
    std::u16string target;
    std::string ansi;
    std::u16string workingDirectory;
    plat::DriveType driveType;
    bool unicodeFields;
};

class ShellLinkLayout : public testing::TestWithParam<LayoutCase> {};

TEST_P(ShellLinkLayout, ReadsBackAsWritten) {
    const LayoutCase& c = GetParam();
    ShellLinkData data;
    data.targetPath = c.target;
    data.targetPathAnsi = c.ansi;
    data.workingDirectory = c.workingDirectory;
    data.driveType = c.driveType;
    const std::vector<unsigned char> bytes = SerializeShellLink(data);
    ASSERT_FALSE(bytes.empty());
    const lnktest::LnkFile link = Parse(bytes);

    EXPECT_EQ(link.headerSize, 0x4Cu);
    EXPECT_EQ(link.clsid, kShellLinkClsid);
    EXPECT_EQ(link.linkFlags, 0x92u);
    EXPECT_EQ(link.showCommand, 1u);
    EXPECT_EQ(link.iconIndex, 0);
    EXPECT_EQ(link.hotKey, 0);
    EXPECT_FALSE(link.hasTargetIdList);

    ASSERT_TRUE(link.hasLinkInfo);
    EXPECT_EQ(link.linkInfoHeaderSize, c.unicodeFields ? 0x24u : 0x1Cu);
    EXPECT_EQ(link.linkInfoFlags, 1u);
    EXPECT_EQ(link.driveType, static_cast<std::uint32_t>(c.driveType));
    EXPECT_EQ(link.driveSerialNumber, 0u);
    EXPECT_EQ(link.volumeLabel, "");
    EXPECT_EQ(link.localBasePath, c.ansi);
    EXPECT_EQ(link.commonPathSuffix, "");
    if (c.unicodeFields) {
        EXPECT_EQ(link.localBasePathUnicode, c.target);
        EXPECT_EQ(link.commonPathSuffixUnicode, u"");
    } else {
        EXPECT_FALSE(link.localBasePathUnicode.has_value());
        EXPECT_FALSE(link.commonPathSuffixUnicode.has_value());
    }

    EXPECT_EQ(link.workingDirectory, c.workingDirectory);
    EXPECT_FALSE(link.arguments.has_value());
    EXPECT_FALSE(link.name.has_value());
    EXPECT_FALSE(link.relativePath.has_value());
    EXPECT_FALSE(link.iconLocation.has_value());
    EXPECT_EQ(link.extraDataBlocks, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, ShellLinkLayout,
    testing::Values(
        LayoutCase{"Ascii", u"C:\\Program Files\\Velstra\\Mirel\\KARVEX34.EXE",
                   "C:\\Program Files\\Velstra\\Mirel\\KARVEX34.EXE", u"C:\\Program Files\\Velstra\\Mirel",
                   plat::DriveType::Fixed, false},
        // ハルネア\表 in code page 932: 表 ends in 0x5C, which is not a backslash here.
        LayoutCase{"Japanese", u"D:\\\u30CF\u30EB\u30CD\u30A2\\\u8868.EXE",
                   "D:\\\x83\x6E\x83\x8B\x83\x6C\x83\x41\\\x95\x5C.EXE", u"D:\\\u30CF\u30EB\u30CD\u30A2\\",
                   plat::DriveType::Removable, true},
        // Not representable in the ANSI code page: the ANSI copy holds '?', Windows
        // still has the exact name.
        LayoutCase{"Unrepresentable", u"E:\\caf\u00E9\\G.EXE", "E:\\caf?\\G.EXE", u"E:\\caf\u00E9",
                   plat::DriveType::Remote, true}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.label); });

TEST(ShellLinkFile, HeaderCarriesTheTargetsStatus) {
    ShellLinkData data;
    data.targetPath = u"C:\\GAME.EXE";
    data.targetPathAnsi = "C:\\GAME.EXE";
    data.workingDirectory = u"C:\\";
    data.fileAttributes = 0x20;
    data.creationTime = 0x01D9000011112222ull;
    data.accessTime = 0x01D9000033334444ull;
    data.writeTime = 0x01D9000055556666ull;
    data.fileSize = 0x12345678;
    const lnktest::LnkFile link = Parse(SerializeShellLink(data));
    EXPECT_EQ(link.fileAttributes, 0x20u);
    EXPECT_EQ(link.creationTime, data.creationTime);
    EXPECT_EQ(link.accessTime, data.accessTime);
    EXPECT_EQ(link.writeTime, data.writeTime);
    EXPECT_EQ(link.fileSize, 0x12345678u);
}

TEST(ShellLinkFile, NoWorkingDirectoryMeansNoFlagAndNoString) {
    ShellLinkData data;
    data.targetPath = u"C:\\GAME.EXE";
    data.targetPathAnsi = "C:\\GAME.EXE";
    const lnktest::LnkFile link = Parse(SerializeShellLink(data));
    EXPECT_EQ(link.linkFlags, 0x82u);
    EXPECT_FALSE(link.workingDirectory.has_value());
}

TEST(ShellLinkFile, LongestWorkingDirectoryFitsItsCount) {
    ShellLinkData data;
    data.targetPath = u"C:\\GAME.EXE";
    data.targetPathAnsi = "C:\\GAME.EXE";
    data.workingDirectory = std::u16string(0xFFFF, u'a');
    EXPECT_EQ(Parse(SerializeShellLink(data)).workingDirectory, data.workingDirectory);
    data.workingDirectory.push_back(u'a');
    EXPECT_TRUE(SerializeShellLink(data).empty());
}

TEST(ShellLinkFile, RefusesTargetsItCannotRepresent) {
    const struct {
        std::u16string target;
        std::string ansi;
    } cases[] = {
        {u"", ""},
        {u"C:\\GAME.EXE", ""},
        {std::u16string(u"C:\\A\0B", 6), "C:\\A?B"},
        {u"C:\\AB", std::string("C:\\A\0B", 6)},
    };
    for (const auto& c : cases) {
        ShellLinkData data;
        data.targetPath = c.target;
        data.targetPathAnsi = c.ansi;
        data.workingDirectory = u"C:\\";
        EXPECT_TRUE(SerializeShellLink(data).empty()) << testing::PrintToString(c.ansi);
    }
}

// The reader the layout tests rely on must notice a writer that gets a size, an offset
// or the end of the file wrong.
TEST(ShellLinkFile, ReaderRejectsDamagedLayouts) {
    ShellLinkData data;
    data.targetPath = u"C:\\\u30B2\u30FC\u30E0.EXE";  // ゲーム.EXE
    data.targetPathAnsi = "C:\\\x83\x51\x81\x5B\x83\x80.EXE";
    data.workingDirectory = u"C:\\";
    const std::vector<unsigned char> good = SerializeShellLink(data);
    ASSERT_FALSE(good.empty());
    lnktest::LnkFile link;
    std::string error;
    ASSERT_TRUE(lnktest::ReadLnk(good, &link, &error)) << error;

    constexpr std::size_t kLinkInfo = 0x4C;
    const auto patch32 = [](std::vector<unsigned char> bytes, std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
        return bytes;
    };
    const std::uint32_t linkInfoSize = good[kLinkInfo] | good[kLinkInfo + 1] << 8;
    const struct {
        const char* what;
        std::vector<unsigned char> bytes;
    } cases[] = {
        {"header size", patch32(good, 0, 0x4D)},
        {"LinkInfo size one too large", patch32(good, kLinkInfo, linkInfoSize + 1)},
        {"LinkInfo size one too small", patch32(good, kLinkInfo, linkInfoSize - 1)},
        {"LocalBasePath past LinkInfo", patch32(good, kLinkInfo + 16, linkInfoSize)},
        {"Unicode path inside the header", patch32(good, kLinkInfo + 28, 0x10)},
        {"missing terminal block", std::vector<unsigned char>(good.begin(), good.end() - 4)},
        {"byte after the terminal block", [&] { auto b = good; b.push_back(0); return b; }()},
        {"working directory count too large", [&] {
             auto b = good;
             b[b.size() - 4 - 2 * 3 - 2] = 4;
             return b;
         }()},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(lnktest::ReadLnk(c.bytes, &link, &error)) << c.what;
    }
}

}  // namespace
