#include "tests/posix/icons/pe_icon_builder.h"

#include <map>

namespace icontest {

void Put16(std::vector<unsigned char>& b, std::size_t at, std::uint32_t value) {
    if (b.size() < at + 2) b.resize(at + 2);
    b[at] = static_cast<unsigned char>(value);
    b[at + 1] = static_cast<unsigned char>(value >> 8);
}

void Put32(std::vector<unsigned char>& b, std::size_t at, std::uint32_t value) {
    Put16(b, at, value & 0xffff);
    Put16(b, at + 2, value >> 16);
}

std::vector<unsigned char> BuildPe(const std::vector<Resource>& resources) {
    constexpr std::uint32_t kRva = 0x1000;
    std::map<std::uint32_t, std::vector<const Resource*>> byType;
    for (const Resource& r : resources) byType[r.type].push_back(&r);

    std::vector<unsigned char> rsrc;
    std::size_t at = 16 + 8 * byType.size();
    std::vector<std::size_t> typeDirs;
    for (const auto& [type, list] : byType) {
        typeDirs.push_back(at);
        at += 16 + 8 * list.size();
    }
    const std::size_t languageDirs = at;
    at += 24 * resources.size();
    const std::size_t dataEntries = at;
    at += 16 * resources.size();
    std::size_t data = at;

    Put16(rsrc, 14, static_cast<std::uint32_t>(byType.size()));
    std::size_t typeIndex = 0;
    std::size_t resourceIndex = 0;
    for (const auto& [type, list] : byType) {
        Put32(rsrc, 16 + 8 * typeIndex, type);
        Put32(rsrc, 16 + 8 * typeIndex + 4, 0x80000000u | static_cast<std::uint32_t>(typeDirs[typeIndex]));
        const std::size_t dir = typeDirs[typeIndex];
        Put16(rsrc, dir + 14, static_cast<std::uint32_t>(list.size()));
        for (std::size_t i = 0; i < list.size(); ++i, ++resourceIndex) {
            const std::size_t language = languageDirs + 24 * resourceIndex;
            const std::size_t entry = dataEntries + 16 * resourceIndex;
            Put32(rsrc, dir + 16 + 8 * i, list[i]->id);
            Put32(rsrc, dir + 16 + 8 * i + 4, 0x80000000u | static_cast<std::uint32_t>(language));
            Put16(rsrc, language + 14, 1);
            Put32(rsrc, language + 16, 0x411);
            Put32(rsrc, language + 20, static_cast<std::uint32_t>(entry));
            Put32(rsrc, entry, kRva + static_cast<std::uint32_t>(data));
            Put32(rsrc, entry + 4, static_cast<std::uint32_t>(list[i]->data.size()));
            rsrc.resize(data);
            rsrc.insert(rsrc.end(), list[i]->data.begin(), list[i]->data.end());
            data = rsrc.size();
        }
        ++typeIndex;
    }
    rsrc.resize((rsrc.size() + 0x1ff) & ~std::size_t{0x1ff});

    std::vector<unsigned char> pe(kResourceSection, 0);
    pe[0] = 'M';
    pe[1] = 'Z';
    Put32(pe, 0x3c, kPeHeader);
    Put32(pe, kPeHeader, 0x00004550);
    Put16(pe, kPeHeader + 4, 0x14c);
    Put16(pe, kPeHeader + 6, 1);
    Put16(pe, kPeHeader + 20, 224);
    Put16(pe, kOptionalHeader, 0x10b);
    Put32(pe, kOptionalHeader + 92, 16);
    Put32(pe, kOptionalHeader + 96 + 16, kRva);
    Put32(pe, kOptionalHeader + 96 + 20, static_cast<std::uint32_t>(rsrc.size()));
    const unsigned char name[8] = {'.', 'r', 's', 'r', 'c'};
    for (int i = 0; i < 8; ++i) pe[kSectionTable + i] = name[i];
    Put32(pe, kSectionTable + 8, static_cast<std::uint32_t>(rsrc.size()));
    Put32(pe, kSectionTable + 12, kRva);
    Put32(pe, kSectionTable + 16, static_cast<std::uint32_t>(rsrc.size()));
    Put32(pe, kSectionTable + 20, kResourceSection);
    pe.insert(pe.end(), rsrc.begin(), rsrc.end());
    return pe;
}

std::vector<unsigned char> GroupIcon(const std::vector<std::uint16_t>& ids, const std::vector<std::uint32_t>& sizes,
                                     unsigned char side) {
    std::vector<unsigned char> group;
    Put16(group, 0, 0);
    Put16(group, 2, 1);
    Put16(group, 4, static_cast<std::uint32_t>(ids.size()));
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const std::size_t at = 6 + 14 * i;
        group.resize(at + 14);
        group[at] = side;
        group[at + 1] = side;
        Put16(group, at + 4, 1);
        Put16(group, at + 6, 32);
        Put32(group, at + 8, sizes[i]);
        Put16(group, at + 12, ids[i]);
    }
    return group;
}

std::vector<unsigned char> BitmapIcon(int width, int bitCount, const std::vector<std::uint32_t>& palette,
                                      const std::vector<unsigned char>& colourRows,
                                      const std::vector<unsigned char>& maskRows) {
    std::vector<unsigned char> b;
    Put32(b, 0, 40);
    Put32(b, 4, static_cast<std::uint32_t>(width));
    Put32(b, 8, static_cast<std::uint32_t>(width * 2));
    Put16(b, 12, 1);
    Put16(b, 14, static_cast<std::uint32_t>(bitCount));
    Put32(b, 32, static_cast<std::uint32_t>(palette.size()));
    b.resize(40);
    for (std::uint32_t colour : palette) Put32(b, b.size(), colour);
    b.insert(b.end(), colourRows.begin(), colourRows.end());
    b.insert(b.end(), maskRows.begin(), maskRows.end());
    return b;
}

}  // namespace icontest
