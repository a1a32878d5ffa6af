#pragma once
// An open host file behind plat::File: whole-buffer reads and writes that ride over
// interrupted and short system calls.
#include <memory>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/file_system.h"
#include "platform/posix/fs/open_reads.h"
#include "platform/posix/fs/kernel_copy.h"
#include "platform/posix/fs/last_written_file.h"
#include "platform/posix/walls/posix_handles.h"

namespace posixplat {

class WriteBack;

class PosixFile : public plat::File {
public:
    // `statusAtOpen`, when given, is what GetStatus reports (a file opened for reading
    // is looked at once, when it is opened); otherwise GetStatus asks each time.
    explicit PosixFile(UniqueFd fd, std::optional<plat::FileStatus> statusAtOpen = std::nullopt);
    ~PosixFile() override;
    PosixFile(const PosixFile&) = delete;
    PosixFile& operator=(const PosixFile&) = delete;
    bool Read(void* buffer, std::size_t size, std::size_t* got) override;
    bool Write(const void* buffer, std::size_t size) override;
    bool GetStatus(plat::FileStatus* status) override;
    // To another host file the bytes go inside the kernel (kernel_copy.h); to any other
    // kind of file (one without a SystemHandle: a wrapper of tests, say) as a Read and a
    // Write through `buffer`.
    bool TransferTo(plat::File& out, void* buffer, std::size_t size, std::size_t* got) override;
    // The descriptor, which is what lets another host file transfer into this one.
    std::intptr_t SystemHandle() const override { return m_fd.Get(); }

    // Moves up to `size` bytes of the host file `in`, from `*inOffset` on, to the end of
    // what this file has written (MoveOnce); for readers of other kinds of source, such
    // as a disc image, whose bytes lie in a host file.
    ssize_t MoveFrom(int in, off_t* inOffset, void* buffer, std::size_t size, CopyRoute* route);

    // At its closing the descriptor goes to `keeper`, as the file written through the
    // Windows path `path`, instead of being closed.
    void HandOverOnClose(std::shared_ptr<LastWrittenFile> keeper, std::string path);
    // At its closing what it wrote counts towards `writeBack`'s next background flush.
    void WriteBackThrough(std::shared_ptr<WriteBack> writeBack);

private:
    // Runs `step` (bytes moved at `done` so far, or -1) until `size` bytes, the end of the
    // file, or an error.
    template <typename Step>
    bool Gather(std::size_t size, std::size_t* got, Step step);

    UniqueFd m_fd;
    std::optional<plat::FileStatus> m_statusAtOpen;
    std::int64_t m_position = 0;  // bytes read so far
    CopyRoute m_route = CopyRoute::kCopyFileRange;
    std::shared_ptr<LastWrittenFile> m_keeper;
    std::string m_keptPath;
    std::shared_ptr<WriteBack> m_writeBack;
};

// Opens the file that `open` names (it is called with open(2) flags and a mode, and
// resolves the name beneath the file's drive).
using HostOpener = std::function<UniqueFd(int flags, mode_t mode)>;

// Opens a regular file for reading; null for anything else (a folder, a pipe, a device)
// and when it cannot be opened. Its reads take the size it had when opened as its end
// (which saves a read per file); what is appended later comes only with later reads.
// The file is in `reads` while it is open.
std::unique_ptr<plat::File> OpenHostFileForRead(const HostOpener& open, OpenReads& reads);

// Creates the file or truncates an existing regular file, for writing. Refuses a
// read-only file even where the caller could override permissions (root), a folder,
// anything that is not a regular file, a symbolic link that leads nowhere (writing
// through it would create a file wherever it points), and a file in `reads` (the source
// of a copy, by whatever name it is reached).
// `created` tells whether the file is new.
std::unique_ptr<PosixFile> OpenHostFileForWrite(const HostOpener& open, const OpenReads& reads,
                                                bool* created = nullptr);

}  // namespace posixplat
