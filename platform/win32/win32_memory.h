#pragma once
// Heap blocks from the process heap.
#include "platform/memory.h"

namespace win32plat {

class Win32Memory : public plat::Memory {
public:
    void* Allocate(std::size_t size) override;
    void Release(void* block) override;
};

}  // namespace win32plat
