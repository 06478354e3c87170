#include <cstdint>
#include <cstring>

#include <gtest/gtest.h>

#include "platform/graphics/Context.h"
#include "platform/graphics/PixelMemory.h"

namespace platform {
namespace {

bool allZero(const std::uint8_t* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        if (bytes[i] != 0)
            return false;
    return true;
}

// Blocks below and above the size mapped on its own come zeroed, can be
// written to their last byte, and go back again; a large one starts on a
// huge-page boundary, which is what lets the kernel fault it in wholesale.
TEST(PixelMemory, SmallAndLargeBlocksAreZeroedWholeAndReleased) {
    for (const std::size_t bytes : {std::size_t(64), PixelMemory::kMappedFrom - 4,
                                    PixelMemory::kMappedFrom, PixelMemory::kMappedFrom * 3 / 2 + 12}) {
        for (int round = 0; round < 3; ++round) {
            std::uint8_t* block = PixelMemory::allocate(bytes);
            ASSERT_NE(block, nullptr) << bytes;
            EXPECT_TRUE(allZero(block, bytes)) << bytes << " bytes, round " << round;
            if (bytes >= PixelMemory::kMappedFrom) {
                EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % (std::uintptr_t(2) << 20), 0u); // 2 MB
            }
            std::memset(block, 0xA5, bytes);
            EXPECT_EQ(block[bytes - 1], 0xA5);
            PixelMemory::release(block, bytes);
        }
    }
}

// A canvas-sized bitmap at two pixels a point is large enough to be mapped:
// it starts clear, draws and reads back like any other.
TEST(PixelMemory, LargeBitmapContextsStartClearAndDraw) {
    auto context = Context::createBitmap(640, 960, nullptr, YAxis::Down);
    ASSERT_NE(context, nullptr);
    ASSERT_GE(context->bytesPerRow() * 960, PixelMemory::kMappedFrom);
    EXPECT_TRUE(allZero(context->data(), context->bytesPerRow() * 960));
    context->setFillColor(Color::rgb(1, 0, 0));
    context->fillRect(Rect{600, 900, 40, 60});
    const std::uint8_t* last = context->data() + context->bytesPerRow() * 960 - 4;
    EXPECT_EQ(last[0], 255); // A
    EXPECT_EQ(last[1], 255); // R
    EXPECT_EQ(last[2], 0);
}

} // namespace
} // namespace platform
