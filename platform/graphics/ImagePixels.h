#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

#include "platform/graphics/PixelMemory.h"

namespace platform {

// The pixels of a picture being made (decoded, turned), written once and then
// handed to an Image whole. The memory comes zeroed from PixelMemory: a
// photo's few megabytes are then faulted in a few huge pages at a time
// instead of one fault for every 4 KB.
class ImagePixels {
public:
    // Empty when the memory cannot be had.
    [[nodiscard]] static ImagePixels allocate(std::size_t bytes) {
        ImagePixels pixels;
        if (bytes == 0)
            return pixels;
        pixels.data_ = PixelMemory::allocate(mappedSize(bytes));
        if (pixels.data_)
            pixels.size_ = bytes;
        return pixels;
    }

    ImagePixels() = default;
    ImagePixels(ImagePixels&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}
    ImagePixels& operator=(ImagePixels&& other) noexcept {
        if (this != &other) {
            PixelMemory::release(data_, mappedSize(size_));
            data_ = std::exchange(other.data_, nullptr);
            size_ = std::exchange(other.size_, 0);
        }
        return *this;
    }
    ImagePixels(const ImagePixels&) = delete;
    ImagePixels& operator=(const ImagePixels&) = delete;
    ~ImagePixels() { PixelMemory::release(data_, mappedSize(size_)); }

    explicit operator bool() const { return data_ != nullptr; }
    std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }

private:
    // A block mapped on its own is rounded up to whole huge pages: its last
    // part would otherwise be faulted 4 KB at a time, which for a photo's
    // 3 MB took as long as the rest. The pictures are short-lived.
    static std::size_t mappedSize(std::size_t bytes) {
        constexpr std::size_t kHugePage = std::size_t(2) << 20;
        if (bytes < PixelMemory::kMappedFrom)
            return bytes;
        return (bytes + kHugePage - 1) / kHugePage * kHugePage;
    }

    std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace platform
