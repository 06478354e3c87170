// ImageButton acts when the finger comes down; ToolBarToolView opens the tool
// picker from a little way around itself.

#include <gtest/gtest.h>

#include <memory>

#include "pickers/ImageButton.h"
#include "pickers/ToolBarToolView.h"
#include "platform/graphics/Context.h"
#include "platform/ui/Window.h"

namespace zorbel::testing {
namespace {

TEST(ImageButtonTest, ActsOnTouchDownOnlyAndOnlyWithATarget) {
    platform::Window window;
    auto button = std::make_shared<ImageButton>(platform::Rect(10, 10, 40, 40));
    window.addSubview(button);
    int sent = 0;
    button->setAction([&](platform::ActionSender* sender) {
        EXPECT_EQ(sender, button.get());
        ++sent;
    });
    window.touchDown(1, {20, 20});
    window.touchUp(1, {20, 20});
    EXPECT_EQ(sent, 0); // no target yet

    button->setTarget(std::make_shared<int>(0));
    window.touchDown(1, {20, 20});
    EXPECT_EQ(sent, 1);
    window.touchMove(1, {25, 25});
    window.touchUp(1, {25, 25});
    EXPECT_EQ(sent, 1);
}

struct CountingTarget : ToolBarToolView::Target {
    int opened = 0;
    platform::ActionSender* sender = nullptr;
    void selectToolAction(platform::ActionSender* s) override {
        ++opened;
        sender = s;
    }
};

TEST(ToolBarToolViewTest, AHitWithinTenPointsOpensThePicker) {
    auto well = std::make_shared<ToolBarToolView>(platform::Rect(100, 100, 30, 30));
    auto target = std::make_shared<CountingTarget>();
    well->setTarget(target);
    EXPECT_EQ(well->hitTest({-9, 35}, nullptr), well.get());
    EXPECT_EQ(target->opened, 1);
    EXPECT_EQ(target->sender, well.get());
    EXPECT_EQ(well->hitTest({-11, 5}, nullptr), nullptr);
    EXPECT_EQ(well->hitTest({5, 41}, nullptr), nullptr);
    EXPECT_EQ(target->opened, 1);
}

TEST(ToolBarToolViewTest, DrawsItsColourWithoutAPicture) {
    auto well = std::make_shared<ToolBarToolView>(platform::Rect(0, 0, 4, 4));
    well->setDisplayColor(platform::Color::rgb(1, 0, 0));
    auto bitmap = platform::Context::createBitmap(4, 4, nullptr, platform::YAxis::Down);
    ASSERT_TRUE(bitmap);
    well->drawRect(*bitmap, well->bounds());
    const std::uint8_t* p = bitmap->data() + (2 * 4 + 2) * 4;
    EXPECT_EQ(p[0], 255);
    EXPECT_EQ(p[1], 255);
    EXPECT_EQ(p[2], 0);
    EXPECT_EQ(p[3], 0);
}

} // namespace
} // namespace zorbel::testing
