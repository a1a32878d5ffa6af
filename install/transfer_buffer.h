#pragma once
// The copy's transfer buffer: the largest block from 1 MB down to 64 KB that the heap
// gives, released when the copy is done on every path.
#include <cstddef>

#include "platform/memory.h"

class TransferBuffer {
public:
    explicit TransferBuffer(plat::Memory& memory) : m_memory(memory) {
        // Halved before each attempt: 1 MB, 512 KB, 256 KB, 128 KB, 64 KB.
        for (std::size_t size = kFirstCandidate / 2; size >= kSmallest; size /= 2) {
            m_data = static_cast<unsigned char*>(m_memory.Allocate(size));
            if (m_data) {
                m_size = size;
                break;
            }
        }
    }
    ~TransferBuffer() { Release(); }
    TransferBuffer(const TransferBuffer&) = delete;
    TransferBuffer& operator=(const TransferBuffer&) = delete;

    void Release() {
        if (m_data) m_memory.Release(m_data);
        m_data = nullptr;
    }
    unsigned char* data() const { return m_data; }
    std::size_t size() const { return m_size; }
    explicit operator bool() const { return m_data != nullptr; }

    static constexpr std::size_t kFirstCandidate = 0x200000;
    static constexpr std::size_t kSmallest = 0x10000;

private:
    plat::Memory& m_memory;
    unsigned char* m_data = nullptr;
    std::size_t m_size = 0;
};
