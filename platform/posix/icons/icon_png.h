#pragma once
// Icon images as PNG files, the form desktop icon themes take.
#include <vector>

#include "platform/posix/icons/icon_images.h"

namespace posixplat {

struct IconPng {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> bytes;  // empty: the image could not be read
};

// A PNG entry as it is; a bitmap entry (32-bit with alpha, or 24, 8, 4 or 1 bit with
// its AND mask for transparency) converted to RGBA. The size is the image's own.
IconPng ToPng(const IconImage& image);

// For each square size among `images`, the PNG of its deepest readable image.
std::vector<IconPng> BestPngs(const std::vector<IconImage>& images);

}  // namespace posixplat
