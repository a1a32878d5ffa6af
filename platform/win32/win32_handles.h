#pragma once
// Owners for the kernel and search handles the Win32 layer opens itself. Registry keys
// pass through the platform interface as they are; their owner is the caller.
#include "platform/win32/win32_api.h"

#include <utility>

namespace win32plat {

// Closes with Traits::Close unless the handle is Traits::Invalid().
template <typename Traits>
class UniqueWin32Handle {
    using Handle = typename Traits::Handle;
    static Handle InvalidValue() { return Traits::Invalid(); }

public:
    UniqueWin32Handle() = default;
    explicit UniqueWin32Handle(Handle handle) : m_handle(handle) {}
    ~UniqueWin32Handle() { Reset(); }
    UniqueWin32Handle(UniqueWin32Handle&& other) noexcept : m_handle(other.Release()) {}
    UniqueWin32Handle& operator=(UniqueWin32Handle&& other) noexcept {
        if (this != &other) {
            Reset();
            m_handle = other.Release();
        }
        return *this;
    }
    UniqueWin32Handle(const UniqueWin32Handle&) = delete;
    UniqueWin32Handle& operator=(const UniqueWin32Handle&) = delete;

    Handle Get() const { return m_handle; }
    bool Valid() const { return m_handle != InvalidValue(); }
    Handle Release() { return std::exchange(m_handle, InvalidValue()); }
    void Reset() {
        if (Valid()) Traits::Close(Release());
    }

private:
    Handle m_handle = InvalidValue();
};

struct FileHandleTraits {
    using Handle = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};
struct FindHandleTraits {
    using Handle = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { FindClose(handle); }
};

// CreateFile results.
using UniqueFileHandle = UniqueWin32Handle<FileHandleTraits>;
// FindFirstFile results.
using UniqueFindHandle = UniqueWin32Handle<FindHandleTraits>;

}  // namespace win32plat
