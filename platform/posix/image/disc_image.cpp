#include "platform/posix/image/disc_image.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cdio/cdio.h>
#include <cdio/iso9660.h>
#include <cdio/logging.h>
#include <cdio/udf.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "platform/posix/image/image_files.h"
#include "platform/posix/image/iso9660_tree.h"
#include "platform/posix/image/udf_tree.h"
#include "platform/posix/walls/posix_handles.h"

namespace posixplat {
namespace {

// The libraries' own messages would go to standard error; what matters reaches the
// caller as a problem of the image instead.
void QuietLog(cdio_log_level_t, const char*) {}

void SilenceLibraries() {
    static const bool silenced = [] {
        cdio_log_set_handler(QuietLog);
        return true;
    }();
    (void)silenced;
}

struct IsoCloser {
    void operator()(iso9660_t* iso) const { iso9660_close(iso); }
};
struct CdioCloser {
    void operator()(CdIo_t* cdio) const { cdio_destroy(cdio); }
};
struct UdfCloser {
    void operator()(udf_t* udf) const { udf_close(udf); }
};
struct StatFree {
    void operator()(iso9660_stat_t* stat) const { iso9660_stat_free(stat); }
};
struct DirentFree {
    void operator()(udf_dirent_t* dirent) const { udf_dirent_free(dirent); }
};
using IsoStat = std::unique_ptr<iso9660_stat_t, StatFree>;
using UdfDirent = std::unique_ptr<udf_dirent_t, DirentFree>;

bool RefuseFolder(const ImageNode& node) {
    if (!node.isFolder) return false;
    errno = EINVAL;
    return true;
}

// An ISO 9660 volume in a host file of 2048-byte sectors: an ISO image, or the BIN of a
// MODE1/2048 track. Files are extents of that file.
class IsoFileImage : public DiscImage {
public:
    IsoFileImage(std::unique_ptr<iso9660_t, IsoCloser> iso, UniqueFd fd) : m_iso(std::move(iso)), m_fd(std::move(fd)) {}

    bool Load(std::uint64_t sectors, std::vector<std::string>* problems) {
        IsoStat root(iso9660_ifs_stat(m_iso.get(), "/"));
        if (!root) return false;
        IsoVolumeReader reader;
        reader.readFolder = [this](const std::string& path) { return iso9660_ifs_readdir(m_iso.get(), path.c_str()); };
        reader.sectors = sectors;
        reader.joliet = iso9660_ifs_get_joliet_level(m_iso.get()) > 0;
        reader.readSectors = [this](std::uint32_t first, std::uint32_t count, void* buffer) {
            return iso9660_iso_seek_read(m_iso.get(), buffer, static_cast<lsn_t>(first), count) ==
                   static_cast<long>(count) * static_cast<long>(kImageBlockSize);
        };
        m_tree = ReadIsoTree(reader, *root, problems);
        m_kind = iso9660_ifs_get_joliet_level(m_iso.get()) > 0 ? "ISO 9660 with Joliet names" : "ISO 9660";
        return true;
    }

    std::unique_ptr<plat::File> OpenFile(std::uint32_t index) override {
        const ImageNode& node = m_tree.Node(index);
        if (RefuseFolder(node)) return nullptr;
        return std::make_unique<ImageExtentFile>(m_fd.Get(), static_cast<off_t>(node.firstSector * kImageBlockSize),
                                                 node.status.size, node.status, NameOf(index));
    }

private:
    std::unique_ptr<iso9660_t, IsoCloser> m_iso;
    UniqueFd m_fd;
};

// An ISO 9660 volume on the data track of a CUE sheet's BIN in raw 2352-byte sectors;
// libcdio reads the sectors.
class CdTrackImage : public DiscImage {
public:
    explicit CdTrackImage(std::unique_ptr<CdIo_t, CdioCloser> cdio) : m_cdio(std::move(cdio)) {}

    bool Load(std::vector<std::string>* problems) {
        if (!iso9660_fs_read_superblock(m_cdio.get(), ISO_EXTENSION_ALL)) return false;
        IsoStat root(iso9660_fs_stat(m_cdio.get(), "/"));
        if (!root) return false;
        const track_t first = cdio_get_first_track_num(m_cdio.get());
        IsoVolumeReader reader;
        reader.readFolder = [this](const std::string& path) { return iso9660_fs_readdir(m_cdio.get(), path.c_str()); };
        const lsn_t last = cdio_get_track_last_lsn(m_cdio.get(), first);
        reader.sectors = last < 0 ? 0 : static_cast<std::uint64_t>(last) + 1;
        reader.joliet = cdio_get_joliet_level(m_cdio.get()) > 0;
        reader.readSectors = [this](std::uint32_t first, std::uint32_t count, void* buffer) {
            return cdio_read_data_sectors(m_cdio.get(), buffer, static_cast<lsn_t>(first), kImageBlockSize, count) ==
                   DRIVER_OP_SUCCESS;
        };
        m_tree = ReadIsoTree(reader, *root, problems);
        m_kind = cdio_get_joliet_level(m_cdio.get()) > 0 ? "CD image (ISO 9660 with Joliet names)" : "CD image (ISO 9660)";
        return true;
    }

    std::unique_ptr<plat::File> OpenFile(std::uint32_t index) override {
        const ImageNode& node = m_tree.Node(index);
        if (RefuseFolder(node)) return nullptr;
        auto next = std::make_shared<lsn_t>(static_cast<lsn_t>(node.firstSector));
        CdIo_t* cdio = m_cdio.get();
        return std::make_unique<ImageBlockFile>(
            [cdio, next](void* buffer, std::size_t count) -> ssize_t {
                if (cdio_read_data_sectors(cdio, buffer, *next, kImageBlockSize, static_cast<std::uint32_t>(count)) !=
                    DRIVER_OP_SUCCESS) {
                    errno = EIO;
                    return -1;
                }
                *next += static_cast<lsn_t>(count);
                return static_cast<ssize_t>(count * kImageBlockSize);
            },
            node.status, NameOf(index));
    }

private:
    std::unique_ptr<CdIo_t, CdioCloser> m_cdio;
};

// A UDF volume, read through libudf. The library keeps one read position for the whole
// volume, so the file being read is opened again when another was read meanwhile.
class UdfImage : public DiscImage {
public:
    explicit UdfImage(std::unique_ptr<udf_t, UdfCloser> udf) : m_udf(std::move(udf)) {}

    bool Load(std::uint64_t blocks, std::vector<std::string>* problems) {
        if (!ReadUdfTree(m_udf.get(), blocks, &m_tree, problems)) return false;
        m_kind = "UDF";
        return true;
    }

    std::unique_ptr<plat::File> OpenFile(std::uint32_t index) override {
        const ImageNode& node = m_tree.Node(index);
        if (RefuseFolder(node)) return nullptr;
        struct Reading {
            std::uint64_t id;
            std::string path;
            std::uint64_t blocksRead = 0;
        };
        auto reading = std::make_shared<Reading>(Reading{++m_lastReader, m_tree.ImagePath(index)});
        if (!Select(reading->id, reading->path, 0)) return nullptr;
        return std::make_unique<ImageBlockFile>(
            [this, reading](void* buffer, std::size_t count) -> ssize_t {
                if (!Select(reading->id, reading->path, reading->blocksRead)) return -1;
                const ssize_t got = udf_read_block(m_current.get(), buffer, count);
                if (got < 0) {
                    errno = EIO;
                    return -1;
                }
                reading->blocksRead += count;
                return got;
            },
            node.status, NameOf(index));
    }

private:
    // Makes the file of reader `id` the library's current one, `blocks` into it.
    bool Select(std::uint64_t id, const std::string& path, std::uint64_t blocks) {
        if (m_currentReader == id && m_current) return true;
        m_current.reset();
        m_currentReader = 0;
        UdfDirent root(udf_get_root(m_udf.get(), true, 0));
        if (root) m_current.reset(udf_fopen(root.get(), path.c_str()));
        if (!m_current || !UdfEntryFits(m_current.get())) {
            m_current.reset();
            errno = EIO;
            return false;
        }
        unsigned char skipped[kImageBlockSize];
        for (std::uint64_t i = 0; i < blocks; ++i) {
            if (udf_read_block(m_current.get(), skipped, 1) < 0) {
                m_current.reset();
                errno = EIO;
                return false;
            }
        }
        m_currentReader = id;
        return true;
    }

    std::unique_ptr<udf_t, UdfCloser> m_udf;
    UdfDirent m_current;
    std::uint64_t m_currentReader = 0;
    std::uint64_t m_lastReader = 0;
};

// libudf 2.1 follows a damaged root entry before anything can look at it, and reads
// past its block. So the UDF tree is read once in a child process first: a volume the
// library cannot read without crashing is taken for one without UDF.
bool UdfTreeReadsSafely(const std::string& path, std::uint64_t blocks) {
    const pid_t child = ::fork();
    if (child < 0) return false;
    if (child == 0) {
        // A fault of the library ends the child and nothing else: no handler of the
        // parent's (a crash reporter, say) takes it for its own.
        for (int fault : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) ::signal(fault, SIG_DFL);
        bool read = false;
        if (udf_t* udf = udf_open(path.c_str())) {
            ImageTree tree;
            read = ReadUdfTree(udf, blocks, &tree, nullptr);
            udf_close(udf);
        }
        ::_exit(read ? 0 : 1);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string FolderOf(const std::string& path) {
    const std::string::size_type slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
}

std::unique_ptr<DiscImage> OpenIsoFile(const std::string& path, std::uint64_t bytes, std::vector<std::string>* problems) {
    std::unique_ptr<iso9660_t, IsoCloser> iso(iso9660_open_ext(path.c_str(), ISO_EXTENSION_ALL));
    if (!iso) return nullptr;
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.Valid()) return nullptr;
    auto image = std::make_unique<IsoFileImage>(std::move(iso), std::move(fd));
    if (!image->Load(bytes / kImageBlockSize, problems)) return nullptr;
    return image;
}

std::unique_ptr<DiscImage> OpenCueSheet(const std::string& cue, const std::string& bin, std::string* error,
                                        std::vector<std::string>* problems) {
    std::unique_ptr<CdIo_t, CdioCloser> cdio(cdio_open_cue(cue.c_str()));
    if (!cdio) {
        *error = "a CUE sheet whose tracks cannot be read";
        return nullptr;
    }
    const track_t first = cdio_get_first_track_num(cdio.get());
    if (first == CDIO_INVALID_TRACK || cdio_get_track_format(cdio.get(), first) != TRACK_FORMAT_DATA) {
        *error = "a CD image whose first track holds no data";
        return nullptr;
    }
    auto image = std::make_unique<CdTrackImage>(std::move(cdio));
    if (image->Load(problems)) return image;
    // libcdio 2.1 reads every BIN as 2352-byte sectors; a MODE1/2048 track's BIN is a
    // plain image of its sectors, which libiso9660 reads as it reads an ISO image.
    const std::string binPath = bin.empty() || bin[0] == '/' ? bin : FolderOf(cue) + "/" + bin;
    struct stat info;
    if (::stat(binPath.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        if (std::unique_ptr<DiscImage> plain = OpenIsoFile(binPath, static_cast<std::uint64_t>(info.st_size), problems)) {
            return plain;
        }
    }
    *error = "a CD image whose data track holds no ISO 9660 volume";
    return nullptr;
}

}  // namespace

std::unique_ptr<DiscImage> DiscImage::Open(const std::string& path, std::string* error,
                                           std::vector<std::string>* problems) {
    SilenceLibraries();
    std::string why;
    std::vector<std::string> found;
    std::unique_ptr<DiscImage> image;
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) {
        why = std::strerror(errno);
    } else if (!S_ISREG(info.st_mode)) {
        why = "not a regular file";
    } else if (char* bin = cdio_is_cuefile(path.c_str())) {
        const std::string binName = bin;
        std::free(bin);
        image = OpenCueSheet(path, binName, &why, &found);
    } else {
        // A DVD's bridge format holds both; Windows reads its UDF side, so do we.
        const std::uint64_t blocks = static_cast<std::uint64_t>(info.st_size) / kImageBlockSize;
        std::unique_ptr<udf_t, UdfCloser> udf;
        if (UdfTreeReadsSafely(path, blocks)) udf.reset(udf_open(path.c_str()));
        if (udf) {
            auto udfImage = std::make_unique<UdfImage>(std::move(udf));
            if (udfImage->Load(blocks, &found)) {
                image = std::move(udfImage);
            } else {
                found.clear();
            }
        }
        if (!image) image = OpenIsoFile(path, static_cast<std::uint64_t>(info.st_size), &found);
        if (!image) why = "neither an ISO 9660 nor a UDF volume that can be read (a damaged or cut-short image?)";
    }
    if (!image) {
        if (error) *error = path + ": " + why;
        return nullptr;
    }
    image->m_path = path;
    if (problems) {
        for (const std::string& problem : found) problems->push_back(path + ": " + problem);
    }
    return image;
}

}  // namespace posixplat
