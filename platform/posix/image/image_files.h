#pragma once
// Open files of a disc image, read-only: the bytes of an extent of a host file (an ISO
// image, or a BIN whose sectors are plain 2048-byte sectors), or of whole blocks that a
// format's library hands out one run at a time (sectors of a CD track, a UDF file).
// Bytes the image does not hold (a file that runs past its end) are an input error.
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/file_system.h"
#include "platform/posix/fs/kernel_copy.h"

namespace posixplat {

inline constexpr std::size_t kImageBlockSize = 2048;

// `size` bytes of the host file `fd` (borrowed: it outlives the file) from `start` on.
// Copied into another host file, the bytes go inside the kernel. `name` ("<image>:
// \FILE") is what a failed read's reason names.
class ImageExtentFile : public plat::File {
public:
    ImageExtentFile(int fd, off_t start, std::int64_t size, const plat::FileStatus& status, std::string name);
    bool Read(void* buffer, std::size_t size, std::size_t* got) override;
    bool Write(const void* buffer, std::size_t size) override;
    bool GetStatus(plat::FileStatus* status) override;
    bool TransferTo(plat::File& out, void* buffer, std::size_t size, std::size_t* got) override;

private:
    std::size_t Remaining(std::size_t size) const;

    bool Failed() const;

    int m_fd;
    off_t m_offset;
    std::int64_t m_left;
    plat::FileStatus m_status;
    std::string m_name;
    CopyRoute m_route = CopyRoute::kCopyFileRange;
};

// Reads `count` blocks, the next ones of the file (they are asked for in order), into
// `buffer`: the bytes delivered (the last block of a file may come short), or -1 with
// errno when the image cannot deliver them.
using ReadNextBlocks = std::function<ssize_t(void* buffer, std::size_t count)>;

// A file of `status.size` bytes read block by block through `read`; `name` as above.
class ImageBlockFile : public plat::File {
public:
    ImageBlockFile(ReadNextBlocks read, const plat::FileStatus& status, std::string name);
    bool Read(void* buffer, std::size_t size, std::size_t* got) override;
    bool Write(const void* buffer, std::size_t size) override;
    bool GetStatus(plat::FileStatus* status) override;

private:
    bool Delivered(ssize_t got, std::size_t needed) const;

    ReadNextBlocks m_read;
    plat::FileStatus m_status;
    std::string m_name;
    std::int64_t m_left;
    // The part of the last block read that was not yet handed out.
    unsigned char m_block[kImageBlockSize];
    std::size_t m_blockStart = 0;
    std::size_t m_blockEnd = 0;
};

}  // namespace posixplat
