#pragma once

#include <cstddef>
#include <cstring>
#include <memory>

namespace lists {

// A block of bytes for reading and writing, left uninitialised: the big buffers of the
// readers and writers are filled before they are read, so clearing them would be wasted time.
class ByteBuffer {
public:
    explicit ByteBuffer(std::size_t size)
        : bytes_(std::make_unique_for_overwrite<char[]>(size)), size_(size) {}

    char* data() { return bytes_.get(); }
    const char* data() const { return bytes_.get(); }
    std::size_t size() const { return size_; }
    char& operator[](std::size_t i) { return bytes_[i]; }

    // Grows to `size` bytes (never shrinks), keeping the first `kept`.
    void grow(std::size_t size, std::size_t kept) {
        if (size <= size_) {
            return;
        }
        auto bigger = std::make_unique_for_overwrite<char[]>(size);
        if (kept > 0) {
            std::memcpy(bigger.get(), bytes_.get(), kept);
        }
        bytes_ = std::move(bigger);
        size_ = size;
    }

private:
    std::unique_ptr<char[]> bytes_;
    std::size_t size_;
};

} // namespace lists
