// The new-document, sheet, settings and finger-offset screens as a person
// sees them, at one and two pixels a point: their artwork is where the
// layout puts it. (Set ZORBEL_SCREEN_SHOTS to a folder to keep the pictures.)

#include <cstdlib>

#include "AppTestSupport.h"
#include "app/CleanBackgroundViewController.h"
#include "app/FingerOffsetView.h"
#include "app/FingerOffsetViewController.h"
#include "app/NewImageChoice.h"
#include "app/SettingsViewController.h"
#include "platform/foundation/FileIO.h"
#include "platform/graphics/Context.h"
#include "platform/ui/Button.h"
#include "platform/ui/Switch.h"

namespace zorbel::testing {
namespace {

using platform::Point;

class NewDocumentScreensTest : public AppTest, public ::testing::WithParamInterface<float> {
protected:
    void settle() {
        platform::RunLoop::main().drain();
        platform::RunLoop::main().settle();
    }
    // The window drawn at the test's scale; kept as a PNG when asked.
    std::unique_ptr<platform::Context> shoot(const std::string& name) {
        const float s = GetParam();
        window().setScale(s);
        auto frame = platform::Context::createBitmap(int(320 * s), int(480 * s), nullptr,
                                                     platform::YAxis::Down);
        window().render(*frame);
        if (const char* dir = std::getenv("ZORBEL_SCREEN_SHOTS")) {
            auto png = frame->makeImage()->pngData();
            (void)platform::writeFileAtomically(std::filesystem::path(dir) /
                                                    (name + "@" + std::to_string(int(s)) + ".png"),
                                                png.value());
        }
        return frame;
    }
    // The pixel shown at a point of `view` (alpha, red, green, blue).
    ARGBColorBytes shownAt(const platform::Context& frame, const platform::View& view, Point p) {
        const float s = GetParam();
        const Point w = view.convertPointToView(p, nullptr);
        const std::uint8_t* px =
            frame.data() + std::size_t(int(w.y * s)) * frame.bytesPerRow() + std::size_t(int(w.x * s)) * 4;
        return {px[0], px[1], px[2], px[3]};
    }
};

TEST_P(NewDocumentScreensTest, NewImageAndSheets) {
    launch();
    chrome().add(nullptr);
    settle();
    auto* choice = dynamic_cast<NewImageChoice*>(chrome().modalViewController());
    ASSERT_NE(choice, nullptr);
    {
        auto frame = shoot("newimage");
        // The buttons' white faces, under their black titles' line.
        const ARGBColorBytes face = shownAt(*frame, *choice->newButton(), {20, 8});
        EXPECT_GT(face.red, 220);
        EXPECT_GT(face.blue, 220);
    }
    choice->newImage(nullptr);
    settle();
    auto* sheets = dynamic_cast<CleanBackgroundViewController*>(choice->modalViewController());
    ASSERT_NE(sheets, nullptr);
    auto frame = shoot("sheets");
    // The third sheet button shows the black sheet, the second the yellow.
    platform::View* tag500 = sheets->view()->viewWithTag(CleanBackgroundViewController::kSheetsViewTag);
    const auto& buttons = tag500->subviews();
    auto black = shownAt(*frame, *buttons[3], {44, 66});
    auto yellow = shownAt(*frame, *buttons[2], {44, 66});
    EXPECT_LT(black.red, 40);
    EXPECT_GT(yellow.red, 220);
    EXPECT_LT(yellow.blue, 200);
}

TEST_P(NewDocumentScreensTest, SettingsAndFingerOffset) {
    launch();
    app().setFingerOffset({-40, -30});
    chrome().settings(nullptr);
    settle();
    auto* settings = dynamic_cast<SettingsViewController*>(chrome().modalViewController());
    ASSERT_NE(settings, nullptr);
    {
        auto frame = shoot("settings");
        // A switch that is on shows its green track at its left end.
        ASSERT_TRUE(settings->cursorSwitch()->isOn());
        const ARGBColorBytes on = shownAt(*frame, *settings->cursorSwitch(), {8, 15});
        EXPECT_GT(on.green, 180);
        EXPECT_LT(on.red, 120);
        const ARGBColorBytes face = shownAt(*frame, *settings->fingerOffsetButton(), {20, 8});
        EXPECT_GT(face.red, 220);
    }
    settings->setFingerOffsetAction(nullptr);
    settle();
    auto* offset = dynamic_cast<FingerOffsetViewController*>(settings->modalViewController());
    ASSERT_NE(offset, nullptr);
    auto frame = shoot("fingeroffset");
    FingerOffsetView& v = *offset->offsetView();
    const Point c = v.centerPoint();
    // The centre cross, and the touch cross 40 right and 30 below it.
    EXPECT_EQ(shownAt(*frame, v, {c.x + 8, c.y + 0.5f}).red, 0);
    // (A one-point line on a whole point is grey at one pixel a point.)
    EXPECT_LT(shownAt(*frame, v, {c.x + 40 + 3, c.y + 30 + 0.25f}).red, 160);
    EXPECT_EQ(shownAt(*frame, v, {c.x + 20, c.y + 15}).red, 255);
}

INSTANTIATE_TEST_SUITE_P(Scales, NewDocumentScreensTest, ::testing::Values(1.0f, 2.0f));

} // namespace
} // namespace zorbel::testing
