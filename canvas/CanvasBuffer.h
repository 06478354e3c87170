#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"

namespace zorbel {

class DocumentFolder;

// One canvas-sized bitmap (the painting, its undo copy or the original
// picture): its memory, the context that draws into it and the Documents file
// it is flushed to. It is resident (memory and context) or flushed (neither).
//
// Memory rows lie bottom-up (row r is screen row height - 1 - r) under a y-up
// context, so screen coordinates draw where they show; pictures go out to
// files and come back in with a vertical flip, so files hold them upright.
class CanvasBuffer {
public:
    // Where the memory comes from: `bytes` cleared bytes, or null.
    using Allocator = std::function<std::uint8_t*(std::size_t bytes)>;
    enum class Made { Yes, NoMemory, NoContext };

    CanvasBuffer(int width, int height, std::string fileName, Allocator allocate);
    ~CanvasBuffer();
    CanvasBuffer(const CanvasBuffer&) = delete;
    CanvasBuffer& operator=(const CanvasBuffer&) = delete;

    // Released and allocated again, transparent. Anything but Yes leaves the
    // buffer flushed.
    Made recreate();
    void release();
    // Writes the picture to the buffer's file, then releases the memory. A
    // buffer whose file cannot be written stays resident and answers false.
    bool flush(DocumentFolder& documents);

    bool isResident() const { return context_ != nullptr; }
    platform::Context* context() const { return context_.get(); }
    std::uint8_t* data() const { return context_ ? block_.get() : nullptr; }
    std::size_t byteCount() const { return std::size_t(width_) * 4 * std::size_t(height_); }
    const std::string& fileName() const { return fileName_; }

    // Copies every byte of `source` when both are resident.
    void copyFrom(const CanvasBuffer& source);
    // The two buffers change places (memory and context; names and files stay).
    void exchange(CanvasBuffer& other);
    // Every alpha byte 255 (false when flushed).
    bool isOpaque() const;
    // Draws `picture` at its own size, flipped so that it shows upright, over
    // what the buffer holds (nothing when flushed).
    void drawUpright(const platform::Image& picture);
    // The same into any bitmap whose rows lie bottom-up.
    static void drawUpright(platform::Context& bitmap, const platform::Image& picture);
    // The picture as on screen, top row first; null when flushed.
    platform::ImageRef uprightPicture() const;
    // The same for any bitmap whose rows lie bottom-up.
    static platform::ImageRef uprightPictureOf(const platform::Context& bitmap);

private:
    struct FreeBlock {
        void operator()(std::uint8_t* p) const { std::free(p); }
    };

    int width_;
    int height_;
    std::string fileName_;
    Allocator allocate_;
    std::unique_ptr<std::uint8_t[], FreeBlock> block_;
    std::unique_ptr<platform::Context> context_; // draws into block_: released first
};

} // namespace zorbel
