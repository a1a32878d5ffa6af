// The icon reader on any bytes, as an executable from the disc or an .ico file: it must
// not read outside them nor allocate beyond them, and what it returns must be theirs.
#include <cstddef>
#include <cstdint>

#include "platform/posix/icons/icon_images.h"
#include "platform/posix/icons/icon_png.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

void CheckImages(const std::vector<posixplat::IconImage>& images, std::size_t size) {
    for (const auto& image : images) {
        FUZZ_CHECK(!image.bytes.empty() && image.bytes.size() <= size);
        FUZZ_CHECK(image.width >= 1 && image.width <= 256 && image.height >= 1 && image.height <= 256);
    }
    FUZZ_CHECK(images.size() <= 64);
    for (const auto& png : posixplat::BestPngs(images)) {
        FUZZ_CHECK(!png.bytes.empty() && png.width == png.height && png.width >= 1 && png.width <= 1024);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckImages(posixplat::ExecutableIcons(data, size), size);
    CheckImages(posixplat::IcoFileIcons(data, size), size);
    return 0;
}
