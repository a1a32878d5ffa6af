// The disc image reader (libiso9660, libudf and libcdio under it) on any image. The
// input is a sparse image, so that seeds of real images stay a few KB: records of a
// sector number (2 bytes, little endian), a length up to 2048 (2 bytes) and that many
// bytes, placed at the start of that sector of an image of zeros. Whatever opens must be
// a tree of Windows names that look-ups find again, whose files read as their sizes say
// or fail as input errors; whatever does not open is refused with the image's name.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/posix/image/disc_image.h"
#include "platform/posix/image/image_tree.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_temp_folder.h"

namespace {

constexpr std::size_t kSector = 2048;
constexpr std::size_t kMaxSectors = 1024;
// Bytes read from all files of one input, so that a claimed 4 GB file costs nothing.
constexpr std::size_t kReadBudget = 1 << 20;

std::string Expand(const std::uint8_t* data, std::size_t size) {
    std::string image;
    std::size_t at = 0;
    while (at + 4 <= size) {
        const std::size_t sector = (data[at] | (data[at + 1] << 8)) % kMaxSectors;
        const std::size_t length = (data[at + 2] | (data[at + 3] << 8)) % (kSector + 1);
        at += 4;
        const std::size_t take = std::min(length, size - at);
        if (image.size() < (sector + 1) * kSector) image.resize((sector + 1) * kSector, '\0');
        image.replace(sector * kSector, take, reinterpret_cast<const char*>(data + at), take);
        at += take;
    }
    return image;
}

std::vector<std::string> ComponentsOf(const posixplat::ImageTree& tree, std::uint32_t index) {
    std::vector<std::string> components;
    for (std::uint32_t at = index; at != posixplat::ImageTree::kRoot; at = tree.Node(at).parent) {
        components.insert(components.begin(), tree.Node(at).name);
    }
    return components;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FuzzTempFolder folder("disc-image-fuzz");
    const std::string path = folder.path() + "/image";
    {
        const std::string image = Expand(data, size);
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        FUZZ_CHECK(fd >= 0);
        FUZZ_CHECK(::write(fd, image.data(), image.size()) == static_cast<ssize_t>(image.size()));
        ::close(fd);
    }
    std::string error;
    std::vector<std::string> problems;
    std::unique_ptr<posixplat::DiscImage> image = posixplat::DiscImage::Open(path, &error, &problems);
    for (const std::string& problem : problems) FUZZ_CHECK(problem.rfind(path + ": ", 0) == 0);
    if (!image) {
        FUZZ_CHECK(error.rfind(path + ": ", 0) == 0);
        return 0;
    }
    const posixplat::ImageTree& tree = image->Tree();
    std::size_t budget = kReadBudget;
    std::vector<unsigned char> buffer(64 * 1024);
    for (std::uint32_t index = 1; index < tree.Size(); ++index) {
        const posixplat::ImageNode& node = tree.Node(index);
        FUZZ_CHECK(posixplat::ImageNameProblem(node.name) == nullptr);
        FUZZ_CHECK(tree.Node(node.parent).isFolder);
        // A look-up of the entry's own path finds an entry of that name.
        std::uint32_t found;
        FUZZ_CHECK(tree.Find(ComponentsOf(tree, index), &found));
        FUZZ_CHECK(tree.Node(found).name == node.name);
        if (node.isFolder || budget == 0) continue;
        std::unique_ptr<plat::File> file = image->OpenFile(index);
        if (!file) continue;
        std::int64_t total = 0;
        for (;;) {
            const std::size_t want = std::min(buffer.size(), budget);
            if (want == 0) break;
            std::size_t got = 0;
            if (!file->Read(buffer.data(), want, &got)) {
                FUZZ_CHECK(errno == EIO);
                break;
            }
            FUZZ_CHECK(got <= want);
            total += static_cast<std::int64_t>(got);
            budget -= got;
            FUZZ_CHECK(total <= node.status.size);
            if (got < want) {
                FUZZ_CHECK(total == node.status.size);
                break;
            }
        }
    }
    return 0;
}
