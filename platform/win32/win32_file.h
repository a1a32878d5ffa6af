#pragma once
// An open file over a kernel handle.
#include "platform/file_system.h"
#include "platform/win32/win32_handles.h"

namespace win32plat {

class Win32File : public plat::File {
public:
    explicit Win32File(UniqueFileHandle handle);
    bool Read(void* buffer, std::size_t size, std::size_t* got) override;
    bool Write(const void* buffer, std::size_t size) override;
    bool GetStatus(plat::FileStatus* status) override;

private:
    UniqueFileHandle m_handle;
};

}  // namespace win32plat
