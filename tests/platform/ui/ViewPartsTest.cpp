#include <memory>

#include <gtest/gtest.h>

#include "platform/ui/BackingStore.h"
#include "platform/ui/ScrollIndicators.h"
#include "platform/ui/View.h"

using namespace platform;

namespace {

TEST(BackingStore, PixelSizeRoundsUpAndRefusesWhatNoBitmapCanHave) {
    const auto half = BackingStore::pixelSize({10.5f, 3.2f}, 2);
    EXPECT_EQ(half.width, 21);
    EXPECT_EQ(half.height, 7);
    // A damaged file's frame must not become an undefined int or a huge bitmap.
    const auto huge = BackingStore::pixelSize({1e30f, 10}, 1);
    EXPECT_EQ(huge.width, 0);
    EXPECT_EQ(huge.height, 0);
    const auto big = BackingStore::pixelSize({10000, 10}, 2);
    EXPECT_EQ(big.width, 0);
}

TEST(BackingStore, DirtyAreaWidensToWholePixelsWithinTheBounds) {
    // At scale 2 a point is two pixels: 1.3 .. 2.6 covers pixels 2 .. 6,
    // that is 1.0 .. 3.0 in points; the bounds (origin 0, 0) clip the rest.
    const Rect bounds(0, 0, 10, 10);
    EXPECT_EQ(BackingStore::pixelAlignedArea(Rect(1.3f, 1.3f, 1.3f, 1.3f), bounds, 2),
              (Rect(1, 1, 2, 2)));
    EXPECT_EQ(BackingStore::pixelAlignedArea(Rect(9.8f, -3, 5, 4), bounds, 1),
              (Rect(9, 0, 1, 1)));
    // A scrolled view's bounds keep their origin.
    EXPECT_EQ(BackingStore::pixelAlignedArea(Rect(100.25f, 50, 1, 1), Rect(100, 50, 10, 10), 1),
              (Rect(100, 50, 2, 1)));
}

TEST(BackingStore, RecreatedBitmapFitsItsSizeAndScaleOnly) {
    BackingStore store;
    EXPECT_FALSE(store);
    ASSERT_TRUE(store.recreate({4, 6}, 2));
    ASSERT_TRUE(store.context());
    EXPECT_EQ(store.context()->width(), 4);
    EXPECT_EQ(store.context()->height(), 6);
    EXPECT_TRUE(store.fits({4, 6}, 2));
    EXPECT_FALSE(store.fits({4, 6}, 1));
    EXPECT_FALSE(store.fits({4, 7}, 2));
    store.release();
    EXPECT_FALSE(store.fits({4, 6}, 2));
}

TEST(ScrollIndicators, BarsAreMadeOnFirstShowAndPlacedInProportion) {
    auto host = std::make_shared<View>(Rect(0, 0, 100, 100));
    ScrollIndicators bars(*host);
    bars.update(Rect(0, 0, 100, 100), {0, 300}, {100, 400});
    EXPECT_TRUE(host->subviews().empty()); // nothing shown yet, nothing made

    bars.show(false, true);
    ASSERT_EQ(host->subviews().size(), 1u);
    const View& vertical = *host->subviews().front();
    // Track 100 - 2 * 2 = 96 long; a quarter of the content is shown, so the
    // bar is 24 long, at the end of the track at the largest offset.
    bars.update(Rect(0, 300, 100, 100), {0, 300}, {100, 400});
    EXPECT_EQ(vertical.frame(), (Rect(95, 374, 3, 24)));
    bars.update(Rect(0, 0, 100, 100), {0, 300}, {100, 400});
    EXPECT_EQ(vertical.frame(), (Rect(95, 2, 3, 24)));
    // Past the top edge the bar shortens by the overshoot, down to 20.
    bars.update(Rect(0, -10, 100, 100), {0, 300}, {100, 400});
    EXPECT_EQ(vertical.frame(), (Rect(95, -8, 3, 20)));
}

} // namespace
