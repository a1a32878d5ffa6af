#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <functional>
#include <string>

#include "platform/posix/icons/icon_images.h"
#include "platform/posix/icons/icon_png.h"
#include "platform/posix/icons/own_icon.h"
#include "tests/posix/icons/pe_icon_builder.h"

namespace {

using icontest::BitmapIcon;
using icontest::BuildPe;
using icontest::GroupIcon;
using icontest::Put32;

// The RGBA pixels of a PNG file, top row first; empty when libpng cannot read it.
std::vector<unsigned char> DecodePng(const std::vector<unsigned char>& bytes, int* width, int* height) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return {};
    image.format = PNG_FORMAT_RGBA;
    std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
    *width = static_cast<int>(image.width);
    *height = static_cast<int>(image.height);
    return pixels;
}

// 2x2 pixels; the file keeps the bottom row first, the PNG the top row.
const std::vector<unsigned char> kBgra = {
    0x10, 0x20, 0x30, 0xff, 0x40, 0x50, 0x60, 0x80,  // bottom: left, right
    0x70, 0x80, 0x90, 0x00, 0xa0, 0xb0, 0xc0, 0xff,  // top
};
// The AND mask: the bottom-left and top-right pixels are transparent.
const std::vector<unsigned char> kMask = {0x80, 0, 0, 0, 0x40, 0, 0, 0};
const std::vector<unsigned char> kNoMask(8, 0);

TEST(IconPng, BitmapsOfEachDepthBecomeTheRgbaTheyShow) {
    struct Case {
        const char* what;
        std::vector<unsigned char> bitmap;
        std::vector<unsigned char> rgba;  // top row first
    };
    const std::vector<Case> cases = {
        {"32-bit keeps its alpha and ignores the mask", BitmapIcon(2, 32, {}, kBgra, kMask),
         {0x90, 0x80, 0x70, 0x00, 0xc0, 0xb0, 0xa0, 0xff, 0x30, 0x20, 0x10, 0xff, 0x60, 0x50, 0x40, 0x80}},
        {"32-bit without alpha takes the mask",
         BitmapIcon(2, 32, {}, {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0, 10, 11, 12, 0}, kMask),
         {9, 8, 7, 255, 12, 11, 10, 0, 3, 2, 1, 0, 6, 5, 4, 255}},
        {"24-bit rows padded to four bytes",
         BitmapIcon(2, 24, {}, {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}, kNoMask),
         {9, 8, 7, 255, 12, 11, 10, 255, 3, 2, 1, 255, 6, 5, 4, 255}},
        {"8-bit through the palette", BitmapIcon(2, 8, {0x000000ff, 0x0000ff00}, {1, 0, 0, 0, 0, 1, 0, 0}, kMask),
         {0, 0, 0xff, 255, 0, 0xff, 0, 0, 0, 0xff, 0, 0, 0, 0, 0xff, 255}},
        {"4-bit, high nibble first", BitmapIcon(2, 4, {0x00ff0000, 0x00ffffff}, {0x01, 0, 0, 0, 0x10, 0, 0, 0}, kNoMask),
         {0xff, 0xff, 0xff, 255, 0xff, 0, 0, 255, 0xff, 0, 0, 255, 0xff, 0xff, 0xff, 255}},
        {"1-bit, high bit first", BitmapIcon(2, 1, {0x00000000, 0x00ffffff}, {0x40, 0, 0, 0, 0x80, 0, 0, 0}, kNoMask),
         {0xff, 0xff, 0xff, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0xff, 0xff, 0xff, 255}},
        {"an index past a short palette is black", BitmapIcon(2, 8, {0x00ffffff}, {5, 0, 0, 0, 0, 0, 0, 0}, kNoMask),
         {0xff, 0xff, 0xff, 255, 0xff, 0xff, 0xff, 255, 0, 0, 0, 255, 0xff, 0xff, 0xff, 255}},
    };
    for (const Case& c : cases) {
        const posixplat::IconPng png = posixplat::ToPng({2, 2, 32, c.bitmap});
        int width = 0;
        int height = 0;
        EXPECT_EQ(DecodePng(png.bytes, &width, &height), c.rgba) << c.what;
        EXPECT_EQ(width, 2) << c.what;
        EXPECT_EQ(png.width, 2) << c.what;
        EXPECT_EQ(png.height, 2) << c.what;
    }
}

TEST(IconPng, BitmapsThatDoNotHoldTogetherGiveNothing) {
    std::vector<unsigned char> good = BitmapIcon(2, 8, {0, 0}, std::vector<unsigned char>(8, 0), kNoMask);
    struct Case {
        const char* what;
        std::function<void(std::vector<unsigned char>&)> damage;
    };
    const std::vector<Case> cases = {
        {"mask cut short", [](auto& b) { b.resize(b.size() - 1); }},
        {"header only", [](auto& b) { b.resize(40); }},
        {"shorter than a header", [](auto& b) { b.resize(39); }},
        {"zero width", [](auto& b) { Put32(b, 4, 0); }},
        {"negative width", [](auto& b) { Put32(b, 4, 0xfffffffe); }},
        {"a height of one row only", [](auto& b) { Put32(b, 8, 1); }},
        {"a huge width", [](auto& b) { Put32(b, 4, 0x40000000); }},
        {"a header size past the data", [](auto& b) { Put32(b, 0, 0xffffff00); }},
        {"run-length compressed", [](auto& b) { Put32(b, 16, 1); }},
        {"a depth icons do not have", [](auto& b) { b[14] = 16; }},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> bitmap = good;
        c.damage(bitmap);
        EXPECT_TRUE(posixplat::ToPng({2, 2, 8, bitmap}).bytes.empty()) << c.what;
    }
}

TEST(IconImages, OurOwnIconGivesAValidPngForEachSize) {
    const auto images = posixplat::IcoFileIcons(posixplat::kOwnIconFile, posixplat::kOwnIconFileSize);
    ASSERT_GE(images.size(), 2u);
    const auto pngs = posixplat::BestPngs(images);
    std::vector<int> sides;
    for (const auto& png : pngs) {
        int width = 0;
        int height = 0;
        EXPECT_FALSE(DecodePng(png.bytes, &width, &height).empty()) << png.width;
        EXPECT_EQ(width, png.width);
        EXPECT_EQ(height, png.height);
        sides.push_back(png.width);
    }
    EXPECT_NE(std::find(sides.begin(), sides.end(), 16), sides.end());
    EXPECT_NE(std::find(sides.begin(), sides.end(), 32), sides.end());
}

// An executable with our own icon's images as its resources, as a resource compiler
// would put them: each image an RT_ICON, the directory an RT_GROUP_ICON.
std::vector<unsigned char> ExecutableWithOwnIcon(std::size_t* imageCount) {
    const auto images = posixplat::IcoFileIcons(posixplat::kOwnIconFile, posixplat::kOwnIconFileSize);
    std::vector<icontest::Resource> resources;
    std::vector<std::uint16_t> ids;
    std::vector<std::uint32_t> sizes;
    for (std::size_t i = 0; i < images.size(); ++i) {
        ids.push_back(static_cast<std::uint16_t>(i + 1));
        sizes.push_back(static_cast<std::uint32_t>(images[i].bytes.size()));
        resources.push_back({3, static_cast<std::uint32_t>(i + 1), images[i].bytes});
    }
    resources.push_back({14, 128, GroupIcon(ids, sizes, 32)});
    resources.push_back({16, 1, std::vector<unsigned char>(60, 0)});
    *imageCount = images.size();
    return BuildPe(resources);
}

TEST(ExecutableIcons, ReadsTheGroupAndItsImagesOnlyFromWholeHeaders) {
    std::size_t imageCount = 0;
    const std::vector<unsigned char> good = ExecutableWithOwnIcon(&imageCount);
    const std::size_t groupAt = icontest::kResourceSection;  // the root directory
    struct Case {
        const char* what;
        std::function<void(std::vector<unsigned char>&)> damage;
        std::size_t images;
    };
    const std::vector<Case> cases = {
        {"whole", [](auto&) {}, imageCount},
        {"no icon resources", [&](auto& b) { b = BuildPe({{16, 1, std::vector<unsigned char>(60, 0)}}); }, 0},
        {"no resources at all", [](auto& b) { Put32(b, icontest::kOptionalHeader + 112, 0); }, 0},
        {"not MZ", [](auto& b) { b[0] = 'X'; }, 0},
        {"PE header past the end", [](auto& b) { Put32(b, 0x3c, 0xfffffff0); }, 0},
        {"not PE", [](auto& b) { b[icontest::kPeHeader] = 'N'; }, 0},
        {"neither PE32 nor PE32+", [](auto& b) { b[icontest::kOptionalHeader] = 0; }, 0},
        {"too few data directories", [](auto& b) { Put32(b, icontest::kOptionalHeader + 92, 2); }, 0},
        {"an optional header too short for the directory",
         [](auto& b) { b[icontest::kPeHeader + 20] = 100; }, 0},
        {"a section count past the end", [](auto& b) { b[icontest::kPeHeader + 6] = 0xff; }, imageCount},
        {"section data past the end", [](auto& b) { Put32(b, icontest::kSectionTable + 20, 0xffffff00); }, 0},
        // What is read of it still lies in the file, each piece checked on its own.
        {"section size past the end", [](auto& b) { Put32(b, icontest::kSectionTable + 16, 0xffffff00); }, imageCount},
        {"cut in the middle of the resources", [](auto& b) { b.resize(icontest::kResourceSection + 100); }, 0},
        {"cut in the headers", [](auto& b) { b.resize(icontest::kSectionTable + 10); }, 0},
        {"an entry count past the section and no group among the entries",
         [&](auto& b) {
             icontest::Put16(b, groupAt + 14, 0xffff);
             Put32(b, groupAt + 24, 99);
         },
         0},
        {"the type level pointing at data",
         [&](auto& b) { Put32(b, groupAt + 20, 16); }, 0},
        {"the type level pointing back at the root",
         [&](auto& b) { Put32(b, groupAt + 20, 0x80000000u); }, 0},
        {"a sub-directory past the section",
         [&](auto& b) { Put32(b, groupAt + 20, 0xfffffff0u); }, 0},
        {"empty file", [](auto& b) { b.clear(); }, 0},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> pe = good;
        c.damage(pe);
        const auto images = posixplat::ExecutableIcons(pe.data(), pe.size());
        EXPECT_EQ(images.size(), c.images) << c.what;
        if (c.images == 0) continue;
        int width = 0;
        int height = 0;
        for (const auto& png : posixplat::BestPngs(images)) {
            EXPECT_FALSE(DecodePng(png.bytes, &width, &height).empty()) << c.what << " " << png.width;
        }
    }
}

}  // namespace
