#include "platform/posix/image/iso9660_tree.h"

// This header of libcdio 2.1 does not declare its functions as C's.
extern "C" {
#include <cdio/utf8.h>
}

#include <cstdlib>
#include <ctime>
#include <map>
#include <set>

#include "platform/posix/fs/file_status.h"
#include "platform/posix/image/image_limits.h"

namespace posixplat {
namespace {

constexpr std::uint64_t kSectorSize = 2048;

std::uint64_t SectorsOf(std::uint64_t bytes) { return (bytes + kSectorSize - 1) / kSectorSize; }

plat::FileStatus StatusOf(const iso9660_stat_t& record) {
    plat::FileStatus status;
    status.lastWriteTime = IsoRecordTime(record);
    status.lastAccessTime = status.lastWriteTime;
    status.creationTime = status.lastWriteTime;
    const bool folder = record.type == iso9660_stat_s::_STAT_DIR;
    status.size = folder ? 0 : record.size;
    // Windows' CD file system reports everything on a disc read-only.
    status.attributes = plat::kAttrReadOnly | (folder ? plat::kAttrDirectory : 0);
    return status;
}

struct Pending {
    std::uint32_t node;
    std::string path;  // the library's
    int depth;
    lsn_t lsn;
    std::uint32_t size;
};

// Directory record fields (ECMA-119 9.1).
constexpr std::size_t kRecordLength = 0;
constexpr std::size_t kRecordExtent = 2;
constexpr std::size_t kRecordNameLength = 32;
constexpr std::size_t kRecordName = 33;

std::uint32_t LittleEndian32(const unsigned char* bytes) {
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

// The Joliet names of a folder's records, by their extents, in record order. libcdio
// 2.1 cuts a Joliet name converted to UTF-8 to the byte length of its UCS-2 form (a
// name of kana and kanji loses its last characters), so the names are converted again,
// by the library's converter, from the records the library's reader reads.
std::map<std::uint32_t, std::vector<std::string>> JolietNames(const IsoVolumeReader& reader, lsn_t lsn,
                                                               std::uint32_t size) {
    std::map<std::uint32_t, std::vector<std::string>> names;
    const std::uint32_t sectors = static_cast<std::uint32_t>(SectorsOf(size));
    std::vector<unsigned char> records(static_cast<std::size_t>(sectors) * kSectorSize);
    if (sectors == 0 || !reader.readSectors(static_cast<std::uint32_t>(lsn), sectors, records.data())) return names;
    std::size_t at = 0;
    while (at < size) {
        const std::size_t length = records[at + kRecordLength];
        if (length == 0) {  // the rest of this sector is padding
            at = (at / kSectorSize + 1) * kSectorSize;
            continue;
        }
        const std::size_t nameLength = length > kRecordNameLength ? records[at + kRecordNameLength] : 0;
        if (length <= kRecordName || at + length > size || kRecordName + nameLength > length) break;
        const char* name = reinterpret_cast<const char*>(&records[at + kRecordName]);
        cdio_utf8_t* utf8 = nullptr;
        if (nameLength > 1 && cdio_charset_to_utf8(name, nameLength, &utf8, "UCS-2BE") && utf8) {
            names[LittleEndian32(&records[at + kRecordExtent])].push_back(utf8);
        }
        std::free(utf8);
        at += length;
    }
    return names;
}

class TreeReader {
public:
    TreeReader(const IsoVolumeReader& reader, const iso9660_stat_t& root, std::vector<std::string>* problems)
        : m_reader(reader), m_tree(StatusOf(root)), m_problems(problems) {}

    ImageTree Read(const iso9660_stat_t& root) {
        if (FolderFits(ImageTree::kRoot, root)) {
            m_folders.insert(root.lsn);
            m_pending.push_back({ImageTree::kRoot, "", 0, root.lsn, root.size});
        }
        while (!m_pending.empty()) {
            const Pending folder = std::move(m_pending.back());
            m_pending.pop_back();
            ReadFolder(folder);
        }
        return std::move(m_tree);
    }

private:
    void Report(std::uint32_t node, const std::string& what) {
        if (m_problems) m_problems->push_back(m_tree.ShownPath(node) + ": " + what);
    }

    void Report(std::uint32_t parent, const std::string& name, const std::string& what) {
        if (m_problems) m_problems->push_back(m_tree.ShownPath(parent, name) + ": " + what);
    }

    bool FolderFits(std::uint32_t node, const iso9660_stat_t& record) {
        if (record.size > kMaxImageFolderBytes || record.lsn + SectorsOf(record.size) > m_reader.sectors) {
            m_tree.Node(node).unreadable = true;
            Report(node, "the folder's records lie past the end of the image");
            return false;
        }
        return true;
    }

    void ReadFolder(const Pending& folder) {
        CdioList_t* list = m_reader.readFolder(folder.path.empty() ? "/" : folder.path);
        if (!list) {
            m_tree.Node(folder.node).unreadable = true;
            Report(folder.node, "the folder's records cannot be read");
            return;
        }
        std::map<std::uint32_t, std::vector<std::string>> joliet;
        if (m_reader.joliet) joliet = JolietNames(m_reader, folder.lsn, folder.size);
        CdioListNode_t* entry;
        _CDIO_LIST_FOREACH(entry, list) {
            const auto& record = *static_cast<const iso9660_stat_t*>(_cdio_list_node_data(entry));
            std::string name = record.filename;
            if (auto found = joliet.find(static_cast<std::uint32_t>(record.lsn));
                found != joliet.end() && !found->second.empty()) {
                // The library's name is the start of the whole one, unless the records
                // were read otherwise than the library read them.
                if (found->second.front().rfind(name, 0) == 0) name = found->second.front();
                found->second.erase(found->second.begin());
            }
            Take(folder, record, name);
        }
        iso9660_filelist_free(list);
    }

    void Take(const Pending& folder, const iso9660_stat_t& record, const std::string& libraryName) {
        if (libraryName == "." || libraryName == "..") return;
        // A symbolic link of Rock Ridge has no bytes of its own to copy.
        if (record.rr.b3_rock == yep && record.rr.psz_symlink && record.rr.i_symlink > 0) return;
        ImageNode node;
        node.name = record.rr.b3_rock == yep ? libraryName : WithoutIsoVersion(libraryName);
        node.imageName = record.filename;
        if (const char* problem = ImageNameProblem(node.name)) {
            Report(folder.node, node.name, std::string(problem) + "; left out");
            return;
        }
        node.isFolder = record.type == iso9660_stat_s::_STAT_DIR;
        node.status = StatusOf(record);
        node.firstSector = record.lsn;
        std::uint32_t index;
        if (!m_tree.Add(folder.node, node, &index)) {
            Report(folder.node, node.name,
                   m_tree.WhyNotAdded());
            return;
        }
        if (!node.isFolder) {
            if (record.lsn + SectorsOf(record.size) > m_reader.sectors) {
                Report(index, "the file's data run past the end of the image");
            }
            return;
        }
        if (!FolderFits(index, record)) return;
        if (!m_folders.insert(record.lsn).second) {
            m_tree.Node(index).unreadable = true;
            Report(index, "a loop in the folder tree: the folder's records are another folder's");
            return;
        }
        if (folder.depth + 1 > kMaxImageFolderDepth) {
            m_tree.Node(index).unreadable = true;
            Report(index, "folders nested deeper than a disc holds");
            return;
        }
        m_pending.push_back({index, folder.path + "/" + std::string(record.filename), folder.depth + 1, record.lsn,
                             record.size});
    }

    const IsoVolumeReader& m_reader;
    ImageTree m_tree;
    std::vector<std::string>* m_problems;
    std::set<lsn_t> m_folders;
    std::vector<Pending> m_pending;
};

}  // namespace

plat::FileTime IsoRecordTime(const iso9660_stat_t& record) {
    // The library gives the time in the local time zone, with that zone's offset.
    struct tm local = record.tm;
    const std::int64_t seconds = static_cast<std::int64_t>(timegm(&local)) - record.tm.tm_gmtoff;
    return ToFileTime(seconds, 0);
}

ImageTree ReadIsoTree(const IsoVolumeReader& reader, const iso9660_stat_t& root, std::vector<std::string>* problems) {
    return TreeReader(reader, root, problems).Read(root);
}

}  // namespace posixplat
