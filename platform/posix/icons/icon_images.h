#pragma once
// Icon images as Windows keeps them: in an executable's resources or in an .ico file,
// each entry either a PNG file or a device-independent bitmap with its AND mask.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace posixplat {

struct IconImage {
    int width = 0;   // as the directory gives it; 256 where it says 0
    int height = 0;
    int bitCount = 0;
    std::vector<unsigned char> bytes;  // a PNG file, or a BITMAPINFOHEADER and what follows
};

// The images of the first icon group in the resources of a Windows executable (PE);
// none when it has none or its headers do not hold together. The bytes come from a disc,
// so every offset is checked against them and nothing is allocated beyond their size.
std::vector<IconImage> ExecutableIcons(const unsigned char* data, std::size_t size);

// The images of an .ico file.
std::vector<IconImage> IcoFileIcons(const unsigned char* data, std::size_t size);

}  // namespace posixplat
