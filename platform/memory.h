#pragma once
// Heap blocks for the copy's transfer buffer. Behind an interface so that tests can
// make an allocation fail at a chosen size.
#include <cstddef>

namespace plat {

class Memory {
public:
    virtual ~Memory() = default;
    // Returns null when the block cannot be obtained; never throws.
    virtual void* Allocate(std::size_t size) = 0;
    virtual void Release(void* block) = 0;
};

}  // namespace plat
