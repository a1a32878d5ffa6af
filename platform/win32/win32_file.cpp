#include "platform/win32/win32_file.h"

#include <algorithm>

#include "platform/win32/win32_file_time.h"

namespace win32plat {
namespace {

// ReadFile and WriteFile take 32-bit counts; larger requests go in pieces.
constexpr std::size_t kMaxChunk = 0x40000000;

}  // namespace

Win32File::Win32File(UniqueFileHandle handle, std::shared_ptr<bool> flushFailed)
    : m_handle(std::move(handle)), m_flushFailed(std::move(flushFailed)) {}

Win32File::~Win32File() {
    if (m_flushFailed && !FlushFileBuffers(m_handle.Get())) *m_flushFailed = true;
}

bool Win32File::Read(void* buffer, std::size_t size, std::size_t* got) {
    std::size_t total = 0;
    auto* bytes = static_cast<unsigned char*>(buffer);
    while (total < size) {
        const DWORD request = static_cast<DWORD>(std::min(size - total, kMaxChunk));
        DWORD read = 0;
        if (!ReadFile(m_handle.Get(), bytes + total, request, &read, nullptr)) return false;
        total += read;
        if (read == 0) break;  // end of file
    }
    *got = total;
    return true;
}

bool Win32File::Write(const void* buffer, std::size_t size) {
    std::size_t total = 0;
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    while (total < size) {
        const DWORD request = static_cast<DWORD>(std::min(size - total, kMaxChunk));
        DWORD written = 0;
        if (!WriteFile(m_handle.Get(), bytes + total, request, &written, nullptr)) return false;
        if (written != request) {  // a full disk
            SetLastError(ERROR_DISK_FULL);
            return false;
        }
        total += written;
    }
    return true;
}

bool Win32File::GetStatus(plat::FileStatus* status) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(m_handle.Get(), &info)) return false;
    status->creationTime = FromFileTime(info.ftCreationTime);
    status->lastAccessTime = FromFileTime(info.ftLastAccessTime);
    status->lastWriteTime = FromFileTime(info.ftLastWriteTime);
    status->size = (static_cast<std::int64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    status->attributes = info.dwFileAttributes;
    return true;
}

}  // namespace win32plat
