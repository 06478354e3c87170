#include <cstring>

#include "CanvasTestSupport.h"
#include "canvas/CanvasBuffer.h"
#include "canvas/DocumentFolder.h"

namespace zorbel::testing {
namespace {

constexpr int kWidth = 32;
constexpr int kHeight = 24;

CanvasBuffer::Allocator calloced() {
    return [](std::size_t bytes) { return static_cast<std::uint8_t*>(std::calloc(bytes, 1)); };
}

// Opaque, every pixel different, and memory row 0 (the screen's bottom row) marked.
void paintPattern(CanvasBuffer& buffer) {
    std::uint8_t* p = buffer.data();
    for (int row = 0; row < kHeight; ++row)
        for (int x = 0; x < kWidth; ++x, p += 4) {
            p[0] = 255;
            p[1] = std::uint8_t(x * 7);
            p[2] = std::uint8_t(row * 11);
            p[3] = row == 0 ? 255 : 0;
        }
}

using CanvasBufferTest = CanvasTest;

// The cycle that a memory warning and the next stroke go through: the
// picture leaves for its file, the memory is given back, and the buffer comes
// back transparent with the file's picture drawn in, byte for byte.
TEST_F(CanvasBufferTest, FlushAndReloadGiveBackTheSameBytes) {
    DocumentFolder documents;
    CanvasBuffer buffer(kWidth, kHeight, "buffer.png", calloced());
    EXPECT_FALSE(buffer.isResident());
    ASSERT_EQ(buffer.recreate(), CanvasBuffer::Made::Yes);
    EXPECT_EQ(bytesOf(buffer.data(), buffer.byteCount()),
              std::vector<std::uint8_t>(buffer.byteCount(), 0));
    paintPattern(buffer);
    const auto before = bytesOf(buffer.data(), buffer.byteCount());

    ASSERT_TRUE(buffer.flush(documents));
    EXPECT_FALSE(buffer.isResident());
    EXPECT_EQ(buffer.data(), nullptr);
    EXPECT_TRUE(buffer.flush(documents)); // nothing left to write

    // The file holds the picture upright: its top row is memory's last row.
    std::string why;
    auto picture = documents.load("buffer.png", &why);
    ASSERT_TRUE(picture) << why;
    EXPECT_EQ(picture->data()[3], 0);
    EXPECT_EQ(picture->data()[(kHeight - 1) * kWidth * 4 + 3], 255);

    ASSERT_EQ(buffer.recreate(), CanvasBuffer::Made::Yes);
    buffer.drawUpright(*picture);
    EXPECT_EQ(bytesOf(buffer.data(), buffer.byteCount()), before);
    EXPECT_TRUE(buffer.isOpaque());
}

TEST_F(CanvasBufferTest, AFlushThatCannotWriteKeepsTheBufferResident) {
    DocumentFolder documents;
    CanvasBuffer buffer(kWidth, kHeight, "buffer.png", calloced());
    ASSERT_EQ(buffer.recreate(), CanvasBuffer::Made::Yes);
    paintPattern(buffer);
    const auto before = bytesOf(buffer.data(), buffer.byteCount());
    std::filesystem::create_directories(documents.pathFor("buffer.png"));
    EXPECT_FALSE(buffer.flush(documents));
    ASSERT_TRUE(buffer.isResident());
    EXPECT_EQ(bytesOf(buffer.data(), buffer.byteCount()), before);
}

TEST_F(CanvasBufferTest, WithoutMemoryItStaysFlushed) {
    CanvasBuffer buffer(kWidth, kHeight, "buffer.png", [](std::size_t) { return nullptr; });
    EXPECT_EQ(buffer.recreate(), CanvasBuffer::Made::NoMemory);
    EXPECT_FALSE(buffer.isResident());
    EXPECT_EQ(buffer.context(), nullptr);
    EXPECT_FALSE(buffer.isOpaque());
    EXPECT_EQ(buffer.uprightPicture(), nullptr);
}

TEST_F(CanvasBufferTest, CopyAndExchangeMoveWholeBuffers) {
    CanvasBuffer a(kWidth, kHeight, "a.png", calloced());
    CanvasBuffer b(kWidth, kHeight, "b.png", calloced());
    ASSERT_EQ(a.recreate(), CanvasBuffer::Made::Yes);
    paintPattern(a);
    b.copyFrom(a); // b is flushed: nothing to copy into
    EXPECT_FALSE(b.isResident());
    ASSERT_EQ(b.recreate(), CanvasBuffer::Made::Yes);
    const auto pattern = bytesOf(a.data(), a.byteCount());
    b.copyFrom(a);
    EXPECT_EQ(bytesOf(b.data(), b.byteCount()), pattern);

    std::memset(b.data(), 0, b.byteCount());
    a.exchange(b);
    EXPECT_EQ(bytesOf(b.data(), b.byteCount()), pattern);
    EXPECT_EQ(a.fileName(), "a.png"); // the files stay with the names
    EXPECT_FALSE(a.isOpaque());
}

} // namespace
} // namespace zorbel::testing
