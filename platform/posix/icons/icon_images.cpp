#include "platform/posix/icons/icon_images.h"

namespace posixplat {
namespace {

constexpr std::uint32_t kResourceIcon = 3;
constexpr std::uint32_t kResourceGroupIcon = 14;
// More images than any real icon holds; a directory claiming more is cut off there.
constexpr std::size_t kMostImages = 64;

// Reads little-endian fields of a byte range, each checked against its end.
class Bytes {
public:
    Bytes(const unsigned char* data, std::size_t size) : m_data(data), m_size(size) {}

    bool Holds(std::uint64_t offset, std::uint64_t length) const {
        return offset <= m_size && length <= m_size - offset;
    }
    bool U16(std::uint64_t offset, std::uint32_t* value) const {
        if (!Holds(offset, 2)) return false;
        *value = static_cast<std::uint32_t>(m_data[offset] | m_data[offset + 1] << 8);
        return true;
    }
    bool U32(std::uint64_t offset, std::uint32_t* value) const {
        if (!Holds(offset, 4)) return false;
        *value = static_cast<std::uint32_t>(m_data[offset]) | static_cast<std::uint32_t>(m_data[offset + 1]) << 8 |
                 static_cast<std::uint32_t>(m_data[offset + 2]) << 16 |
                 static_cast<std::uint32_t>(m_data[offset + 3]) << 24;
        return true;
    }
    std::uint32_t Byte(std::uint64_t offset) const { return Holds(offset, 1) ? m_data[offset] : 0; }
    const unsigned char* At(std::uint64_t offset) const { return m_data + offset; }

private:
    const unsigned char* m_data;
    std::size_t m_size;
};

struct Section {
    std::uint32_t virtualAddress;
    std::uint32_t rawSize;
    std::uint32_t rawOffset;
};

class PeResources {
public:
    explicit PeResources(Bytes bytes) : m_bytes(bytes) {}

    bool Open() {
        std::uint32_t peOffset = 0;
        std::uint32_t magic = 0;
        if (!m_bytes.U16(0, &magic) || magic != 0x5a4d || !m_bytes.U32(0x3c, &peOffset)) return false;
        std::uint32_t signature = 0;
        std::uint32_t sectionCount = 0;
        std::uint32_t optionalSize = 0;
        if (!m_bytes.U32(peOffset, &signature) || signature != 0x00004550 || !m_bytes.U16(peOffset + 6ull, &sectionCount) ||
            !m_bytes.U16(peOffset + 20ull, &optionalSize)) {
            return false;
        }
        const std::uint64_t optional = peOffset + 24ull;
        std::uint32_t kind = 0;
        if (!m_bytes.U16(optional, &kind)) return false;
        std::uint64_t directories = 0;
        std::uint32_t directoryCount = 0;
        if (kind == 0x10b) {
            directories = optional + 96;
            if (!m_bytes.U32(optional + 92, &directoryCount)) return false;
        } else if (kind == 0x20b) {
            directories = optional + 112;
            if (!m_bytes.U32(optional + 108, &directoryCount)) return false;
        } else {
            return false;
        }
        const std::uint64_t resourceEntry = directories + 2 * 8;
        std::uint32_t resourceRva = 0;
        if (directoryCount <= 2 || resourceEntry + 8 > optional + optionalSize || !m_bytes.U32(resourceEntry, &resourceRva) ||
            resourceRva == 0) {
            return false;
        }
        const std::uint64_t table = optional + optionalSize;
        for (std::uint32_t i = 0; i < sectionCount && m_bytes.Holds(table + i * 40ull, 40); ++i) {
            Section section{};
            const std::uint64_t at = table + i * 40ull;
            m_bytes.U32(at + 12, &section.virtualAddress);
            m_bytes.U32(at + 16, &section.rawSize);
            m_bytes.U32(at + 20, &section.rawOffset);
            m_sections.push_back(section);
        }
        return FileOffset(resourceRva, 16, &m_root);
    }

    // The data of the resource of `type`: the entry `id`, or the first one when `first`;
    // in its first language.
    bool Find(std::uint32_t type, std::uint32_t id, bool first, std::uint64_t* offset, std::uint32_t* size) const {
        std::uint32_t level = 0;
        if (!Entry(0, type, false, true, &level) || !Entry(level, id, first, true, &level)) return false;
        std::uint32_t leaf = 0;
        std::uint32_t rva = 0;
        if (!Entry(level, 0, true, false, &leaf) || !m_bytes.U32(m_root + leaf, &rva) ||
            !m_bytes.U32(m_root + leaf + 4ull, size)) {
            return false;
        }
        return FileOffset(rva, *size, offset);
    }

    const Bytes& bytes() const { return m_bytes; }

private:
    // Where the `length` bytes at `rva` lie in the file, all of them within one section's data.
    bool FileOffset(std::uint32_t rva, std::uint32_t length, std::uint64_t* offset) const {
        for (const Section& section : m_sections) {
            if (rva < section.virtualAddress) continue;
            const std::uint64_t into = rva - section.virtualAddress;
            if (into > section.rawSize || length > section.rawSize - into) continue;
            *offset = section.rawOffset + into;
            return m_bytes.Holds(*offset, length);
        }
        return false;
    }

    // In the directory at `directory` (from the resource root), the entry with the id `id`
    // (or the first entry), leading to a sub-directory when `toDirectory`, else to data.
    bool Entry(std::uint32_t directory, std::uint32_t id, bool first, bool toDirectory, std::uint32_t* target) const {
        std::uint32_t named = 0;
        std::uint32_t numbered = 0;
        if (!m_bytes.U16(m_root + directory + 12ull, &named) || !m_bytes.U16(m_root + directory + 14ull, &numbered)) {
            return false;
        }
        for (std::uint32_t i = 0; i < named + numbered; ++i) {
            const std::uint64_t at = m_root + directory + 16ull + i * 8ull;
            std::uint32_t name = 0;
            std::uint32_t pointer = 0;
            if (!m_bytes.U32(at, &name) || !m_bytes.U32(at + 4, &pointer)) return false;
            if (!first && ((name & 0x80000000u) != 0 || name != id)) continue;
            // Each level leads one way, so a pointer back up cannot make a loop.
            if (((pointer & 0x80000000u) != 0) != toDirectory) return false;
            *target = pointer & 0x7fffffffu;
            // A directory header and a data entry are both 16 bytes.
            return m_bytes.Holds(m_root + *target, 16);
        }
        return false;
    }

    Bytes m_bytes;
    std::vector<Section> m_sections;
    std::uint64_t m_root = 0;
};

IconImage ImageOf(std::uint32_t width, std::uint32_t height, std::uint32_t bitCount, const unsigned char* data,
                  std::size_t size) {
    IconImage image;
    image.width = width == 0 ? 256 : static_cast<int>(width);
    image.height = height == 0 ? 256 : static_cast<int>(height);
    image.bitCount = static_cast<int>(bitCount);
    image.bytes.assign(data, data + size);
    return image;
}

}  // namespace

std::vector<IconImage> ExecutableIcons(const unsigned char* data, std::size_t size) {
    PeResources resources{Bytes(data, size)};
    std::uint64_t group = 0;
    std::uint32_t groupSize = 0;
    if (!resources.Open() || !resources.Find(kResourceGroupIcon, 0, true, &group, &groupSize)) return {};
    const Bytes& bytes = resources.bytes();
    std::uint32_t type = 0;
    std::uint32_t count = 0;
    if (groupSize < 6 || !bytes.U16(group + 2, &type) || type != 1 || !bytes.U16(group + 4, &count)) return {};
    std::vector<IconImage> images;
    for (std::uint32_t i = 0; i < count && images.size() < kMostImages; ++i) {
        const std::uint64_t entry = group + 6 + i * 14ull;
        std::uint32_t bitCount = 0;
        std::uint32_t id = 0;
        if (entry + 14 > group + groupSize || !bytes.U16(entry + 6, &bitCount) || !bytes.U16(entry + 12, &id)) break;
        std::uint64_t icon = 0;
        std::uint32_t iconSize = 0;
        if (!resources.Find(kResourceIcon, id, false, &icon, &iconSize) || iconSize == 0) continue;
        images.push_back(ImageOf(bytes.Byte(entry), bytes.Byte(entry + 1), bitCount, bytes.At(icon), iconSize));
    }
    return images;
}

std::vector<IconImage> IcoFileIcons(const unsigned char* data, std::size_t size) {
    const Bytes bytes(data, size);
    std::uint32_t reserved = 1;
    std::uint32_t type = 0;
    std::uint32_t count = 0;
    if (!bytes.U16(0, &reserved) || reserved != 0 || !bytes.U16(2, &type) || type != 1 || !bytes.U16(4, &count)) return {};
    std::vector<IconImage> images;
    for (std::uint32_t i = 0; i < count && images.size() < kMostImages; ++i) {
        const std::uint64_t entry = 6 + i * 16ull;
        std::uint32_t bitCount = 0;
        std::uint32_t length = 0;
        std::uint32_t offset = 0;
        if (!bytes.U16(entry + 6, &bitCount) || !bytes.U32(entry + 8, &length) || !bytes.U32(entry + 12, &offset)) break;
        if (length == 0 || !bytes.Holds(offset, length)) continue;
        images.push_back(ImageOf(bytes.Byte(entry), bytes.Byte(entry + 1), bitCount, bytes.At(offset), length));
    }
    return images;
}

}  // namespace posixplat
