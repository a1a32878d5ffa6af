#pragma once
// Holds one reference to a COM interface and releases it on every path.
#include <utility>

namespace win32plat {

template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(ComPtr&& other) noexcept : m_ptr(std::exchange(other.m_ptr, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            m_ptr = std::exchange(other.m_ptr, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    Interface* Get() const { return m_ptr; }
    Interface* operator->() const { return m_ptr; }
    explicit operator bool() const { return m_ptr != nullptr; }
    // For out-parameters of CoCreateInstance and QueryInterface.
    void** PutVoid() {
        Reset();
        return reinterpret_cast<void**>(&m_ptr);
    }
    void Reset() {
        if (m_ptr) std::exchange(m_ptr, nullptr)->Release();
    }

private:
    Interface* m_ptr = nullptr;
};

}  // namespace win32plat
