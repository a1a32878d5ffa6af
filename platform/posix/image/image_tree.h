#pragma once
// What a disc image holds, read once when the image is opened: folders and files with
// the names Windows shows for them, their status as the image records it, and where each
// file's bytes lie. Names are looked up as the sandbox looks them up: the exact name
// first, else one that matches without regard to ASCII letter case.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/file_system.h"

namespace posixplat {

struct ImageNode {
    std::string name;       // as shown; empty for the root
    std::string imageName;  // as the format's library names it, for reading it back
    std::uint32_t parent = 0;
    bool isFolder = false;
    // A folder whose records could not be read: it cannot be listed.
    bool unreadable = false;
    plat::FileStatus status;
    std::uint64_t firstSector = 0;  // where the file's bytes start, in 2048-byte sectors
    std::vector<std::uint32_t> children;
};

class ImageTree {
public:
    static constexpr std::uint32_t kRoot = 0;
    // Entries beyond this many are left out: a damaged image may claim any number.
    static constexpr std::size_t kMaxNodes = 1u << 20;

    explicit ImageTree(const plat::FileStatus& rootStatus = {});

    // Adds `node` below `parent`; false (and nothing added) when the tree is full or the
    // folder has an entry of exactly that name already.
    bool Add(std::uint32_t parent, ImageNode node, std::uint32_t* index = nullptr);

    const ImageNode& Node(std::uint32_t index) const { return m_nodes[index]; }
    ImageNode& Node(std::uint32_t index) { return m_nodes[index]; }
    std::size_t Size() const { return m_nodes.size(); }

    // The entry `components` name below the root; false when there is none.
    bool Find(const std::vector<std::string>& components, std::uint32_t* index) const;

    // "\FOLDER\NAME" of a node, for messages; with `name`, of that name in the folder.
    std::string ShownPath(std::uint32_t index) const;
    std::string ShownPath(std::uint32_t folder, const std::string& name) const;
    // Why Add refused the last entry it refused.
    const char* WhyNotAdded() const;
    // "/folder/name" by the library's names, for reading the entry back.
    std::string ImagePath(std::uint32_t index) const;

private:
    std::vector<ImageNode> m_nodes;
    // (parent, name folded to lower case) -> the entries of that folder matching it.
    std::unordered_map<std::string, std::vector<std::uint32_t>> m_byFoldedName;
};

// Why a name from an image cannot be a Windows name (a separator, "." or "..", a
// character Windows refuses), or null when it can.
const char* ImageNameProblem(const std::string& name);

// A level-1 ISO 9660 name as Windows' CD file system shows it: without the version
// (";1") and without a dot that ends it ("README." for a file without an extension).
std::string WithoutIsoVersion(const std::string& name);

}  // namespace posixplat
