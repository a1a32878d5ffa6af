#pragma once
#include "platform/memory.h"

namespace posixplat {

class PosixMemory : public plat::Memory {
public:
    void* Allocate(std::size_t size) override;
    void Release(void* block) override;
};

}  // namespace posixplat
