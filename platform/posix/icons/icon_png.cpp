#include "platform/posix/icons/icon_png.h"

#include <png.h>

#include <cstdint>
#include <cstring>

namespace posixplat {
namespace {

// Larger than any icon a desktop shows; a header claiming more is not believed.
constexpr std::uint32_t kLargestSide = 1024;

std::uint32_t Le32(const std::vector<unsigned char>& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint32_t Be32(const std::vector<unsigned char>& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) << 24 | static_cast<std::uint32_t>(b[at + 1]) << 16 |
           static_cast<std::uint32_t>(b[at + 2]) << 8 | static_cast<std::uint32_t>(b[at + 3]);
}

bool IsPng(const std::vector<unsigned char>& bytes) {
    static const unsigned char kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    return bytes.size() >= 24 && std::memcmp(bytes.data(), kSignature, sizeof kSignature) == 0 &&
           std::memcmp(bytes.data() + 12, "IHDR", 4) == 0;
}

IconPng PngAsItIs(const std::vector<unsigned char>& bytes) {
    IconPng png;
    const std::uint32_t width = Be32(bytes, 16);
    const std::uint32_t height = Be32(bytes, 20);
    if (width == 0 || height == 0 || width > kLargestSide || height > kLargestSide) return png;
    png.width = static_cast<int>(width);
    png.height = static_cast<int>(height);
    png.bytes = bytes;
    return png;
}

std::vector<unsigned char> EncodeRgba(int width, int height, const std::vector<unsigned char>& rgba) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr)) return {};
    std::vector<unsigned char> bytes(size);
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, rgba.data(), 0, nullptr)) return {};
    bytes.resize(size);
    return bytes;
}

// A BITMAPINFOHEADER, its palette, the colour rows bottom-up and the AND mask rows.
IconPng BitmapToPng(const std::vector<unsigned char>& b) {
    IconPng png;
    if (b.size() < 40) return png;
    const std::uint32_t headerSize = Le32(b, 0);
    const auto width = static_cast<std::int32_t>(Le32(b, 4));
    const auto doubleHeight = static_cast<std::int32_t>(Le32(b, 8));
    const std::uint32_t bitCount = b[14] | b[15] << 8;
    const std::uint32_t compression = Le32(b, 16);
    const std::uint32_t colorsUsed = Le32(b, 32);
    // An icon's bitmap is as tall as its colour rows and mask rows together.
    const std::int32_t height = doubleHeight / 2;
    if (headerSize < 40 || headerSize > b.size() || width <= 0 || height <= 0 ||
        static_cast<std::uint32_t>(width) > kLargestSide || static_cast<std::uint32_t>(height) > kLargestSide) {
        return png;
    }
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32) return png;
    if (compression != 0 && !(compression == 3 && bitCount == 32)) return png;
    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t h = static_cast<std::size_t>(height);
    std::size_t paletteSize = 0;
    if (bitCount <= 8) {
        const std::size_t most = std::size_t{1} << bitCount;
        paletteSize = colorsUsed == 0 || colorsUsed > most ? most : colorsUsed;
    }
    const std::size_t palette = headerSize + (compression == 3 ? 12 : 0);
    const std::size_t pixels = palette + paletteSize * 4;
    const std::size_t stride = (w * bitCount + 31) / 32 * 4;
    const std::size_t mask = pixels + stride * h;
    const std::size_t maskStride = (w + 31) / 32 * 4;
    const bool hasMask = mask + maskStride * h <= b.size();
    // A bitmap without colour values alone has its transparency only in the mask.
    if (mask > b.size() || (bitCount < 32 && !hasMask)) return png;

    std::vector<unsigned char> rgba(w * h * 4);
    bool anyAlpha = false;
    for (std::size_t y = 0; y < h; ++y) {
        const unsigned char* row = b.data() + pixels + (h - 1 - y) * stride;
        for (std::size_t x = 0; x < w; ++x) {
            unsigned char* out = &rgba[(y * w + x) * 4];
            if (bitCount >= 24) {
                const unsigned char* p = row + x * (bitCount / 8);
                out[0] = p[2];
                out[1] = p[1];
                out[2] = p[0];
                out[3] = bitCount == 32 ? p[3] : 255;
                anyAlpha = anyAlpha || (bitCount == 32 && p[3] != 0);
            } else {
                const std::size_t bit = x * bitCount;
                const unsigned index = (row[bit / 8] >> (8 - bitCount - bit % 8)) & ((1u << bitCount) - 1);
                // An index past a short palette reads as black.
                if (index < paletteSize) {
                    const unsigned char* colour = b.data() + palette + index * 4;
                    out[0] = colour[2];
                    out[1] = colour[1];
                    out[2] = colour[0];
                }
                out[3] = 255;
            }
        }
    }
    // The AND mask makes a pixel transparent, unless a 32-bit image carries its own alpha.
    if (hasMask && !(bitCount == 32 && anyAlpha)) {
        for (std::size_t y = 0; y < h; ++y) {
            const unsigned char* row = b.data() + mask + (h - 1 - y) * maskStride;
            for (std::size_t x = 0; x < w; ++x) {
                rgba[(y * w + x) * 4 + 3] = (row[x / 8] >> (7 - x % 8)) & 1 ? 0 : 255;
            }
        }
    }
    png.bytes = EncodeRgba(width, height, rgba);
    if (!png.bytes.empty()) {
        png.width = width;
        png.height = height;
    }
    return png;
}

}  // namespace

IconPng ToPng(const IconImage& image) { return IsPng(image.bytes) ? PngAsItIs(image.bytes) : BitmapToPng(image.bytes); }

std::vector<IconPng> BestPngs(const std::vector<IconImage>& images) {
    std::vector<IconPng> best;
    std::vector<int> depths;
    for (const IconImage& image : images) {
        IconPng png = ToPng(image);
        if (png.bytes.empty() || png.width != png.height) continue;
        const int depth = IsPng(image.bytes) ? 32 : image.bitCount;
        bool placed = false;
        for (std::size_t i = 0; i < best.size(); ++i) {
            if (best[i].width != png.width) continue;
            if (depth > depths[i]) {
                best[i] = std::move(png);
                depths[i] = depth;
            }
            placed = true;
            break;
        }
        if (!placed) {
            best.push_back(std::move(png));
            depths.push_back(depth);
        }
    }
    return best;
}

}  // namespace posixplat
