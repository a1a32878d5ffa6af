#pragma once
// A small PE32 executable with the resources given, laid out as a linker lays them out:
// one .rsrc section, a type / name / language directory tree, then the data.
#include <cstdint>
#include <vector>

namespace icontest {

struct Resource {
    std::uint32_t type;
    std::uint32_t id;
    std::vector<unsigned char> data;
};

// Offsets of the parts the damage cases aim at.
constexpr std::size_t kPeHeader = 0x40;
constexpr std::size_t kOptionalHeader = kPeHeader + 24;
constexpr std::size_t kSectionTable = kOptionalHeader + 224;
constexpr std::size_t kResourceSection = 0x200;

std::vector<unsigned char> BuildPe(const std::vector<Resource>& resources);

// A group icon directory naming the icon resources `ids`, each `side` pixels wide, 32 bit.
std::vector<unsigned char> GroupIcon(const std::vector<std::uint16_t>& ids, const std::vector<std::uint32_t>& sizes,
                                     unsigned char side);

// A bitmap icon image `width` x `width`: BITMAPINFOHEADER, palette, rows bottom-up, mask.
std::vector<unsigned char> BitmapIcon(int width, int bitCount, const std::vector<std::uint32_t>& palette,
                                      const std::vector<unsigned char>& colourRows,
                                      const std::vector<unsigned char>& maskRows);

void Put16(std::vector<unsigned char>& b, std::size_t at, std::uint32_t value);
void Put32(std::vector<unsigned char>& b, std::size_t at, std::uint32_t value);

}  // namespace icontest
