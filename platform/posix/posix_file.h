#pragma once
// An open host file behind plat::File: whole-buffer reads and writes that ride over
// interrupted and short system calls.
#include <memory>
#include <string>

#include "platform/file_system.h"
#include "platform/posix/posix_handles.h"

namespace posixplat {

class PosixFile : public plat::File {
public:
    explicit PosixFile(UniqueFd fd);
    bool Read(void* buffer, std::size_t size, std::size_t* got) override;
    bool Write(const void* buffer, std::size_t size) override;
    bool GetStatus(plat::FileStatus* status) override;

private:
    UniqueFd m_fd;
};

// Opens a regular file for reading; null for anything else (a folder, a pipe, a device)
// and when it cannot be opened.
std::unique_ptr<plat::File> OpenHostFileForRead(const std::string& hostPath);

// Creates the file or truncates an existing regular file, for writing. Refuses a
// read-only file even where the caller could override permissions (root), a folder, and
// anything that is not a regular file.
std::unique_ptr<plat::File> OpenHostFileForWrite(const std::string& hostPath);

}  // namespace posixplat
