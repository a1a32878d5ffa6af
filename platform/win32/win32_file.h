#pragma once
// An open file over a kernel handle. A file opened for writing is flushed to its disk
// before it is closed; a flush that fails is noted where the file system reports it.
#include <memory>

#include "platform/file_system.h"
#include "platform/win32/win32_handles.h"

namespace win32plat {

class Win32File : public plat::File {
public:
    explicit Win32File(UniqueFileHandle handle, std::shared_ptr<bool> flushFailed = nullptr);
    ~Win32File() override;
    Win32File(const Win32File&) = delete;
    Win32File& operator=(const Win32File&) = delete;
    bool Read(void* buffer, std::size_t size, std::size_t* got) override;
    bool Write(const void* buffer, std::size_t size) override;
    bool GetStatus(plat::FileStatus* status) override;

private:
    UniqueFileHandle m_handle;
    std::shared_ptr<bool> m_flushFailed;
};

}  // namespace win32plat
