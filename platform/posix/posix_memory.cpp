#include "platform/posix/posix_memory.h"

#include <cstdlib>

namespace posixplat {

void* PosixMemory::Allocate(std::size_t size) { return std::malloc(size); }

void PosixMemory::Release(void* block) { std::free(block); }

}  // namespace posixplat
