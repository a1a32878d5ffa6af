#include "platform/win32/win32_memory.h"

#include "platform/win32/win32_api.h"

namespace win32plat {

void* Win32Memory::Allocate(std::size_t size) { return HeapAlloc(GetProcessHeap(), 0, size); }

void Win32Memory::Release(void* block) {
    if (block) HeapFree(GetProcessHeap(), 0, block);
}

}  // namespace win32plat
