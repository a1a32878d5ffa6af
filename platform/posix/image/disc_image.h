#pragma once
// A disc image read as a disc, in user space and never mounted: an ISO 9660 or UDF
// image file, or a CUE sheet with its BIN. The whole folder tree is read when the image
// is opened; files are read from the image as they are opened.
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/posix/image/image_tree.h"

namespace posixplat {

class DiscImage {
public:
    virtual ~DiscImage() = default;
    // Opens the image at `path`. Null when it is none that can be read, with the reason
    // in `error`; what of an image that opens is left out or cannot be read is described
    // in `problems`, each line naming the image and the entry.
    static std::unique_ptr<DiscImage> Open(const std::string& path, std::string* error,
                                           std::vector<std::string>* problems = nullptr);

    const ImageTree& Tree() const { return m_tree; }
    const std::string& Path() const { return m_path; }
    // Which format and library read it, for messages ("ISO 9660 (Joliet) through libiso9660").
    const std::string& Kind() const { return m_kind; }

    // Opens the file `node` of the tree for reading; null with errno when it cannot be.
    virtual std::unique_ptr<plat::File> OpenFile(std::uint32_t node) = 0;

protected:
    // "<image>: \FILE", for the reasons of failed reads.
    std::string NameOf(std::uint32_t node) const { return m_path + ": " + m_tree.ShownPath(node); }

    ImageTree m_tree;
    std::string m_path;
    std::string m_kind;
};

}  // namespace posixplat
