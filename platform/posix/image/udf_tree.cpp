#include "platform/posix/image/udf_tree.h"

#include <cstddef>
#include <set>

#include "platform/posix/fs/file_status.h"
#include "platform/posix/image/image_limits.h"

namespace posixplat {
namespace {

// libudf 2.1 exports the times in whole seconds only (its timestamp getters are
// declared but not in the library).
plat::FileTime SecondsTime(time_t seconds) { return ToFileTime(seconds, 0); }

plat::FileStatus StatusOf(const udf_dirent_t* entry, bool folder) {
    plat::FileStatus status;
    status.lastWriteTime = SecondsTime(udf_get_modification_time(entry));
    status.lastAccessTime = SecondsTime(udf_get_access_time(entry));
    status.creationTime = status.lastWriteTime;
    status.size = folder ? 0 : static_cast<std::int64_t>(udf_get_file_length(entry));
    status.attributes = plat::kAttrReadOnly | (folder ? plat::kAttrDirectory : 0);
    return status;
}

}  // namespace

bool UdfEntryFits(const udf_dirent_t* entry) {
    constexpr std::uint64_t kBlock = 2048;
    const std::uint64_t tail = std::uint64_t{entry->fe.i_extended_attr} + entry->fe.i_alloc_descs;
    return tail <= kBlock - offsetof(udf_file_entry_t, u);
}

namespace {

class TreeReader {
public:
    TreeReader(std::uint64_t blocks, ImageTree* tree, std::vector<std::string>* problems)
        : m_blocks(blocks), m_tree(*tree), m_problems(problems) {}

    // Lists `folder` (a listing the library opened) into `node`, and every folder below.
    void ReadFolder(udf_dirent_t* folder, std::uint32_t node, int depth) {
        while (udf_readdir(folder)) {
            const char* libraryName = udf_get_filename(folder);
            if (!libraryName) continue;
            const std::string name = libraryName;
            if (name.empty() || name == "." || name == "..") continue;
            if (!UdfEntryFits(folder)) {
                Report(node, name, "a damaged file entry (its lengths run past its block); left out");
                continue;
            }
            if (const char* problem = ImageNameProblem(name)) {
                Report(node, name, std::string(problem) + "; left out");
                continue;
            }
            ImageNode entry;
            entry.name = name;
            entry.imageName = name;
            entry.isFolder = udf_is_dir(folder);
            entry.status = StatusOf(folder, entry.isFolder);
            std::uint32_t start = 0;
            std::uint32_t end = 0;
            udf_file_entry_t record;
            const bool located = udf_get_file_entry(folder, &record) && udf_get_lba(&record, &start, &end);
            entry.firstSector = start;
            std::uint32_t index;
            if (!m_tree.Add(node, entry, &index)) {
                Report(node, name,
                       m_tree.WhyNotAdded());
                continue;
            }
            if (located && end >= m_blocks) Report(index, "the data run past the end of the image");
            if (!entry.isFolder) continue;
            if (located && !m_folders.insert(start).second) {
                MarkUnreadable(index, "a loop in the folder tree: the folder's records are another folder's");
                continue;
            }
            if (depth + 1 > kMaxImageFolderDepth) {
                MarkUnreadable(index, "folders nested deeper than a disc holds");
                continue;
            }
            udf_dirent_t* below = udf_opendir(folder);
            if (!below) {
                MarkUnreadable(index, "the folder's records cannot be read");
                continue;
            }
            ReadFolder(below, index, depth + 1);
        }
    }

    void MarkUnreadable(std::uint32_t index, const std::string& why) {
        m_tree.Node(index).unreadable = true;
        Report(index, why);
    }

private:
    void Report(std::uint32_t node, const std::string& what) {
        if (m_problems) m_problems->push_back(m_tree.ShownPath(node) + ": " + what);
    }

    void Report(std::uint32_t parent, const std::string& name, const std::string& what) {
        if (m_problems) m_problems->push_back(m_tree.ShownPath(parent, name) + ": " + what);
    }

    std::uint64_t m_blocks;
    ImageTree& m_tree;
    std::vector<std::string>* m_problems;
    std::set<std::uint32_t> m_folders;
};

}  // namespace

bool ReadUdfTree(udf_t* udf, std::uint64_t blocks, ImageTree* tree, std::vector<std::string>* problems) {
    udf_dirent_t* root = udf_get_root(udf, true, 0);
    if (!root) return false;
    if (!UdfEntryFits(root)) {
        udf_dirent_free(root);
        return false;
    }
    *tree = ImageTree(StatusOf(root, true));
    TreeReader reader(blocks, tree, problems);
    // The root's listing is the root's own entry: the library walks it in place and
    // frees it at its end.
    reader.ReadFolder(root, ImageTree::kRoot, 0);
    return true;
}

}  // namespace posixplat
