#include "tests/support/lnk_reader.h"

#include <fstream>
#include <iterator>

namespace lnktest {
namespace {

constexpr std::uint32_t kHasLinkTargetIdList = 0x01;
constexpr std::uint32_t kHasLinkInfo = 0x02;
constexpr std::uint32_t kHasName = 0x04;
constexpr std::uint32_t kHasRelativePath = 0x08;
constexpr std::uint32_t kHasWorkingDir = 0x10;
constexpr std::uint32_t kHasArguments = 0x20;
constexpr std::uint32_t kHasIconLocation = 0x40;
constexpr std::uint32_t kIsUnicode = 0x80;

// A bounded view of part of the file; every read fails past its end.
class Cursor {
public:
    Cursor(const unsigned char* data, std::size_t size) : m_data(data), m_size(size) {}

    std::size_t position() const { return m_pos; }
    std::size_t remaining() const { return m_size - m_pos; }
    bool Seek(std::size_t at) {
        if (at > m_size) return false;
        m_pos = at;
        return true;
    }
    bool Skip(std::size_t count) { return Seek(m_pos + count); }
    bool U16(std::uint16_t* value) { return Read(2, value); }
    bool U32(std::uint32_t* value) { return Read(4, value); }
    bool U64(std::uint64_t* value) { return Read(8, value); }
    bool Raw(unsigned char* out, std::size_t count) {
        if (remaining() < count) return false;
        for (std::size_t i = 0; i < count; ++i) out[i] = m_data[m_pos + i];
        m_pos += count;
        return true;
    }
    // A NUL-terminated byte string from the current position.
    bool AnsiZ(std::string* text) {
        text->clear();
        while (m_pos < m_size) {
            const unsigned char byte = m_data[m_pos++];
            if (byte == 0) return true;
            text->push_back(static_cast<char>(byte));
        }
        return false;
    }
    bool Utf16Z(std::u16string* text) {
        text->clear();
        std::uint16_t unit;
        while (U16(&unit)) {
            if (unit == 0) return true;
            text->push_back(static_cast<char16_t>(unit));
        }
        return false;
    }
    bool Utf16(std::size_t count, std::u16string* text) {
        text->clear();
        std::uint16_t unit;
        for (std::size_t i = 0; i < count; ++i) {
            if (!U16(&unit)) return false;
            text->push_back(static_cast<char16_t>(unit));
        }
        return true;
    }
    Cursor Sub(std::size_t size) const { return Cursor(m_data + m_pos, size); }

private:
    template <typename T>
    bool Read(int count, T* value) {
        if (remaining() < static_cast<std::size_t>(count)) return false;
        T result = 0;
        for (int i = 0; i < count; ++i) result |= static_cast<T>(m_data[m_pos + i]) << (8 * i);
        m_pos += count;
        *value = result;
        return true;
    }

    const unsigned char* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

bool Fail(std::string* error, const std::string& reason) {
    if (error) *error = reason;
    return false;
}

bool ReadHeader(Cursor& in, LnkFile* link, std::string* error) {
    std::uint32_t reserved2, reserved3;
    std::uint16_t reserved1;
    std::uint32_t iconIndex;
    if (!in.U32(&link->headerSize) || !in.Raw(link->clsid.data(), 16) || !in.U32(&link->linkFlags) ||
        !in.U32(&link->fileAttributes) || !in.U64(&link->creationTime) || !in.U64(&link->accessTime) ||
        !in.U64(&link->writeTime) || !in.U32(&link->fileSize) || !in.U32(&iconIndex) ||
        !in.U32(&link->showCommand) || !in.U16(&link->hotKey) || !in.U16(&reserved1) ||
        !in.U32(&reserved2) || !in.U32(&reserved3)) {
        return Fail(error, "truncated header");
    }
    link->iconIndex = static_cast<std::int32_t>(iconIndex);
    if (link->headerSize != 0x4C) return Fail(error, "header size is not 0x4C");
    if (reserved1 != 0 || reserved2 != 0 || reserved3 != 0) return Fail(error, "reserved header fields set");
    return true;
}

// The VolumeID at `offset` inside LinkInfo.
bool ReadVolumeId(const Cursor& linkInfo, std::uint32_t offset, LnkFile* link, std::string* error) {
    Cursor in = linkInfo;
    std::uint32_t size, labelOffset;
    if (!in.Seek(offset) || !in.U32(&size)) return Fail(error, "VolumeID outside LinkInfo");
    if (size <= 0x10 || !in.Seek(offset)) return Fail(error, "VolumeID too small");
    if (in.remaining() < size) return Fail(error, "VolumeID runs past LinkInfo");
    Cursor volume = in.Sub(size);
    if (!volume.Skip(4) || !volume.U32(&link->driveType) || !volume.U32(&link->driveSerialNumber) ||
        !volume.U32(&labelOffset)) {
        return Fail(error, "truncated VolumeID");
    }
    if (labelOffset == 0x14) return Fail(error, "Unicode volume label not expected");
    if (!volume.Seek(labelOffset) || !volume.AnsiZ(&link->volumeLabel)) return Fail(error, "bad volume label");
    return true;
}

bool ReadLinkInfo(Cursor& file, LnkFile* link, std::string* error) {
    const std::size_t start = file.position();
    if (!file.U32(&link->linkInfoSize)) return Fail(error, "truncated LinkInfo");
    if (link->linkInfoSize < 0x1C || !file.Seek(start) || file.remaining() < link->linkInfoSize) {
        return Fail(error, "LinkInfo size out of range");
    }
    Cursor in = file.Sub(link->linkInfoSize);
    std::uint32_t volumeIdOffset, localBasePathOffset, networkOffset, suffixOffset;
    std::uint32_t localBasePathUnicodeOffset = 0, suffixUnicodeOffset = 0;
    if (!in.Skip(4) || !in.U32(&link->linkInfoHeaderSize) || !in.U32(&link->linkInfoFlags) ||
        !in.U32(&volumeIdOffset) || !in.U32(&localBasePathOffset) || !in.U32(&networkOffset) ||
        !in.U32(&suffixOffset)) {
        return Fail(error, "truncated LinkInfo header");
    }
    const std::uint32_t headerSize = link->linkInfoHeaderSize;
    if (headerSize != 0x1C && headerSize < 0x24) return Fail(error, "bad LinkInfo header size");
    if (headerSize >= 0x24 && (!in.U32(&localBasePathUnicodeOffset) || !in.U32(&suffixUnicodeOffset))) {
        return Fail(error, "truncated LinkInfo Unicode offsets");
    }
    const auto inData = [&](std::uint32_t offset) { return offset >= headerSize && offset < link->linkInfoSize; };

    if (link->linkInfoFlags & 0x1) {
        if (!inData(volumeIdOffset)) return Fail(error, "VolumeID offset out of range");
        if (!ReadVolumeId(in, volumeIdOffset, link, error)) return false;
        if (!inData(localBasePathOffset) || !in.Seek(localBasePathOffset) || !in.AnsiZ(&link->localBasePath)) {
            return Fail(error, "bad LocalBasePath");
        }
        if (headerSize >= 0x24) {
            std::u16string wide;
            if (!inData(localBasePathUnicodeOffset) || !in.Seek(localBasePathUnicodeOffset) || !in.Utf16Z(&wide)) {
                return Fail(error, "bad LocalBasePathUnicode");
            }
            link->localBasePathUnicode = wide;
        }
    } else if (volumeIdOffset != 0 || localBasePathOffset != 0) {
        return Fail(error, "volume offsets set without VolumeIDAndLocalBasePath");
    }
    if (!(link->linkInfoFlags & 0x2) && networkOffset != 0) return Fail(error, "network offset set without its flag");
    if (link->linkInfoFlags & 0x2) return Fail(error, "network links are not expected");

    if (!inData(suffixOffset) || !in.Seek(suffixOffset) || !in.AnsiZ(&link->commonPathSuffix)) {
        return Fail(error, "bad CommonPathSuffix");
    }
    if (headerSize >= 0x24) {
        std::u16string wide;
        if (!inData(suffixUnicodeOffset) || !in.Seek(suffixUnicodeOffset) || !in.Utf16Z(&wide)) {
            return Fail(error, "bad CommonPathSuffixUnicode");
        }
        link->commonPathSuffixUnicode = wide;
    }
    return file.Skip(link->linkInfoSize);
}

bool ReadCountedString(Cursor& in, std::optional<std::u16string>* out, const char* what, std::string* error) {
    std::uint16_t count;
    std::u16string text;
    if (!in.U16(&count) || !in.Utf16(count, &text)) return Fail(error, std::string("truncated ") + what);
    *out = text;
    return true;
}

bool ReadStringData(Cursor& in, LnkFile* link, std::string* error) {
    const struct {
        std::uint32_t flag;
        std::optional<std::u16string>* field;
        const char* what;
    } strings[] = {
        {kHasName, &link->name, "NAME_STRING"},
        {kHasRelativePath, &link->relativePath, "RELATIVE_PATH"},
        {kHasWorkingDir, &link->workingDirectory, "WORKING_DIR"},
        {kHasArguments, &link->arguments, "COMMAND_LINE_ARGUMENTS"},
        {kHasIconLocation, &link->iconLocation, "ICON_LOCATION"},
    };
    for (const auto& s : strings) {
        if ((link->linkFlags & s.flag) && !ReadCountedString(in, s.field, s.what, error)) return false;
    }
    return true;
}

bool ReadExtraData(Cursor& in, LnkFile* link, std::string* error) {
    for (;;) {
        std::uint32_t blockSize;
        if (!in.U32(&blockSize)) return Fail(error, "missing terminal block");
        if (blockSize < 4) break;
        if (blockSize < 8 || !in.Skip(blockSize - 4)) return Fail(error, "bad extra data block");
        ++link->extraDataBlocks;
    }
    if (in.remaining() != 0) return Fail(error, "bytes after the terminal block");
    return true;
}

}  // namespace

bool ReadLnk(const std::vector<unsigned char>& bytes, LnkFile* link, std::string* error) {
    *link = LnkFile();
    Cursor in(bytes.data(), bytes.size());
    if (!ReadHeader(in, link, error)) return false;
    if (!(link->linkFlags & kIsUnicode)) return Fail(error, "ANSI string data not expected");
    if (link->linkFlags & kHasLinkTargetIdList) {
        std::uint16_t idListSize;
        if (!in.U16(&idListSize) || !in.Skip(idListSize)) return Fail(error, "truncated LinkTargetIDList");
        link->hasTargetIdList = true;
    }
    if (link->linkFlags & kHasLinkInfo) {
        link->hasLinkInfo = true;
        if (!ReadLinkInfo(in, link, error)) return false;
    }
    return ReadStringData(in, link, error) && ReadExtraData(in, link, error);
}

bool ReadLnkFile(const std::string& hostPath, LnkFile* link, std::string* error) {
    std::ifstream file(hostPath, std::ios::binary);
    if (!file) return Fail(error, "cannot open " + hostPath);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return ReadLnk(bytes, link, error);
}

}  // namespace lnktest
