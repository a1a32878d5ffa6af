#include "platform/posix/shell/shell_link_file.h"

#include <algorithm>

namespace posixplat {
namespace {

constexpr std::uint32_t kHeaderSize = 0x4C;
// {00021401-0000-0000-C000-000000000046} as stored: the first three fields little-endian.
constexpr unsigned char kLinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                          0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
constexpr std::uint32_t kHasLinkInfo = 0x00000002;
constexpr std::uint32_t kHasWorkingDir = 0x00000010;
constexpr std::uint32_t kIsUnicode = 0x00000080;
constexpr std::uint32_t kShowNormal = 1;

constexpr std::uint32_t kVolumeIdAndLocalBasePath = 0x00000001;
// LinkInfo header without and with the two Unicode offsets.
constexpr std::uint32_t kLinkInfoHeaderSize = 0x1C;
constexpr std::uint32_t kLinkInfoHeaderSizeUnicode = 0x24;
// VolumeID: size, drive type, serial number, label offset; the label follows.
constexpr std::uint32_t kVolumeIdHeaderSize = 0x10;

class ByteWriter {
public:
    std::size_t size() const { return m_bytes.size(); }
    void U16(std::uint16_t value) {
        for (int i = 0; i < 2; ++i) m_bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
    }
    void U32(std::uint32_t value) {
        for (int i = 0; i < 4; ++i) m_bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
    }
    void U64(std::uint64_t value) {
        for (int i = 0; i < 8; ++i) m_bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
    }
    void Bytes(const unsigned char* data, std::size_t size) { m_bytes.insert(m_bytes.end(), data, data + size); }
    void AnsiZ(const std::string& text) {
        m_bytes.insert(m_bytes.end(), text.begin(), text.end());
        m_bytes.push_back(0);
    }
    void Utf16(const std::u16string& text) {
        for (char16_t unit : text) U16(unit);
    }
    void Utf16Z(const std::u16string& text) {
        Utf16(text);
        U16(0);
    }
    // Overwrites a 32-bit field written earlier, once the value is known.
    void PatchU32(std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) m_bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
    }
    std::vector<unsigned char> Take() { return std::move(m_bytes); }

private:
    std::vector<unsigned char> m_bytes;
};

bool IsPlainAscii(const std::u16string& text) {
    return std::all_of(text.begin(), text.end(), [](char16_t unit) { return unit < 0x80; });
}

void WriteHeader(const ShellLinkData& link, ByteWriter* out) {
    std::uint32_t flags = kHasLinkInfo | kIsUnicode;
    if (!link.workingDirectory.empty()) flags |= kHasWorkingDir;
    out->U32(kHeaderSize);
    out->Bytes(kLinkClsid, sizeof kLinkClsid);
    out->U32(flags);
    out->U32(link.fileAttributes);
    out->U64(link.creationTime);
    out->U64(link.accessTime);
    out->U64(link.writeTime);
    out->U32(link.fileSize);
    out->U32(0);  // icon index
    out->U32(kShowNormal);
    out->U16(0);  // hotkey
    out->U16(0);  // reserved
    out->U32(0);
    out->U32(0);
}

void WriteLinkInfo(const ShellLinkData& link, ByteWriter* out) {
    const bool unicode = !IsPlainAscii(link.targetPath);
    const std::uint32_t headerSize = unicode ? kLinkInfoHeaderSizeUnicode : kLinkInfoHeaderSize;
    const std::size_t start = out->size();
    const std::uint32_t volumeIdSize = kVolumeIdHeaderSize + 1;  // the empty label's NUL
    const std::uint32_t localBasePathOffset = headerSize + volumeIdSize;
    const auto ansiSize = static_cast<std::uint32_t>(link.targetPathAnsi.size() + 1);
    const std::uint32_t commonPathSuffixOffset = localBasePathOffset + ansiSize;
    const std::uint32_t localBasePathUnicodeOffset = commonPathSuffixOffset + 1;
    const auto unicodeSize = static_cast<std::uint32_t>((link.targetPath.size() + 1) * 2);
    const std::uint32_t commonPathSuffixUnicodeOffset = localBasePathUnicodeOffset + unicodeSize;

    out->U32(0);  // LinkInfoSize, patched below
    out->U32(headerSize);
    out->U32(kVolumeIdAndLocalBasePath);
    out->U32(headerSize);  // the VolumeID follows the header
    out->U32(localBasePathOffset);
    out->U32(0);  // no CommonNetworkRelativeLink
    out->U32(commonPathSuffixOffset);
    if (unicode) {
        out->U32(localBasePathUnicodeOffset);
        out->U32(commonPathSuffixUnicodeOffset);
    }

    out->U32(volumeIdSize);
    out->U32(static_cast<std::uint32_t>(link.driveType));
    out->U32(0);                    // serial number
    out->U32(kVolumeIdHeaderSize);  // label offset: the label follows at once
    out->AnsiZ(std::string());      // empty label

    out->AnsiZ(link.targetPathAnsi);
    out->AnsiZ(std::string());  // CommonPathSuffix: the base path is the whole target
    if (unicode) {
        out->Utf16Z(link.targetPath);
        out->Utf16Z(std::u16string());
    }
    out->PatchU32(start, static_cast<std::uint32_t>(out->size() - start));
}

}  // namespace

std::vector<unsigned char> SerializeShellLink(const ShellLinkData& link) {
    if (link.targetPath.empty() || link.targetPathAnsi.empty()) return {};
    if (link.targetPath.find(u'\0') != std::u16string::npos) return {};
    if (link.targetPathAnsi.find('\0') != std::string::npos) return {};
    if (link.workingDirectory.size() > 0xFFFF) return {};

    ByteWriter out;
    WriteHeader(link, &out);
    WriteLinkInfo(link, &out);
    if (!link.workingDirectory.empty()) {
        out.U16(static_cast<std::uint16_t>(link.workingDirectory.size()));
        out.Utf16(link.workingDirectory);
    }
    out.U32(0);  // terminal block: no extra data
    return out.Take();
}

}  // namespace posixplat
