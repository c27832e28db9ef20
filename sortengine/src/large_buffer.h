// Memory for the big, long-lived blocks of a run: input buffers, the output
// buffer, the RecordRef table and the sort's key array.
//
// These blocks are never zero-filled: a fresh page costs a fault on first
// touch, and filling 58 MB that a small input never reaches would cost more
// than the whole sort. Blocks of 256 KiB or more are mapped 2 MiB-aligned and
// marked for huge pages where the system offers them, so that touching a
// buffer costs one fault per 2 MiB instead of one per 4 KiB.
//
// The contents are indeterminate until written. Elements are plain data
// (trivially copyable); no constructor or destructor runs for them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>

namespace sorvel {

namespace large_memory {
// Raw blocks; null when the memory cannot be had.
void* allocate(std::size_t bytes);
void release(void* block, std::size_t bytes);
}  // namespace large_memory

template <typename T>
class LargeBuffer {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

  public:
    LargeBuffer() = default;
    LargeBuffer(const LargeBuffer&) = delete;
    LargeBuffer& operator=(const LargeBuffer&) = delete;
    LargeBuffer(LargeBuffer&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}
    LargeBuffer& operator=(LargeBuffer&& other) noexcept {
        if (this != &other) {
            release();
            data_ = std::exchange(other.data_, nullptr);
            size_ = std::exchange(other.size_, 0);
        }
        return *this;
    }
    ~LargeBuffer() { release(); }

    // Replaces the contents with `count` indeterminate elements. False (and
    // empty) when the memory cannot be had.
    bool allocate(std::size_t count) {
        release();
        if (count == 0) return true;
        if (count > static_cast<std::size_t>(-1) / sizeof(T)) return false;
        data_ = static_cast<T*>(large_memory::allocate(count * sizeof(T)));
        if (data_ == nullptr) return false;
        size_ = count;
        return true;
    }

    void release() {
        if (data_ != nullptr) large_memory::release(data_, size_ * sizeof(T));
        data_ = nullptr;
        size_ = 0;
    }

    T* data() { return data_; }
    const T* data() const { return data_; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    T& operator[](std::size_t i) { return data_[i]; }
    const T& operator[](std::size_t i) const { return data_[i]; }
    T* begin() { return data_; }
    T* end() { return data_ + size_; }

  private:
    T* data_ = nullptr;
    std::size_t size_ = 0;
};

// A window onto part of a LargeBuffer (one input buffer of the shared block).
struct ByteWindow {
    std::uint8_t* bytes = nullptr;
    std::size_t length = 0;

    std::uint8_t* data() const { return bytes; }
    std::size_t size() const { return length; }
};

}  // namespace sorvel
