#include <cmath>

#include <gtest/gtest.h>

#include "platform/ui/ActionSheet.h"
#include "platform/ui/Application.h"
#include "platform/ui/RunLoop.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/Slider.h"
#include "platform/ui/Switch.h"
#include "platform/ui/TextField.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/Window.h"

using namespace platform;

namespace {

struct Fixture : ::testing::Test {
    std::shared_ptr<Window> window;
    void SetUp() override {
        RunLoop::main().reset(ClockMode::Virtual);
        Application::shared().resetForTesting();
        window = std::make_shared<Window>();
        window->makeKeyAndVisible();
    }
    void TearDown() override {
        RunLoop::main().settle();
        window.reset();
        Application::shared().resetForTesting();
    }
    void drag(float x0, float y0, float x1, float y1) {
        window->touchDown(1, {x0, y0});
        window->touchMove(1, {(x0 + x1) / 2, (y0 + y1) / 2});
        window->touchMove(1, {x1, y1});
        window->touchUp(1, {x1, y1});
    }
    void tap(float x, float y) {
        window->touchDown(1, {x, y});
        window->touchUp(1, {x, y});
        RunLoop::main().advanceBy(1);
    }
};

using Controls = Fixture;

} // namespace

TEST_F(Controls, SliderClampsItsValueAndFollowsItsRange) {
    Slider s(Rect(0, 0, 200, 30));
    s.setMinimumValue(-255);
    s.setMaximumValue(255);
    s.setValue(300);
    EXPECT_EQ(s.value(), 255);
    s.setValue(-1000);
    EXPECT_EQ(s.value(), -255);
    s.setValue(NAN);
    EXPECT_EQ(s.value(), -255);
    s.setMinimumValue(0);
    EXPECT_EQ(s.value(), 0);
    EXPECT_EQ(s.valueForX(-50), 0);
    EXPECT_EQ(s.valueForX(500), 255);
}

// A continuous slider reports every change while dragging; otherwise once at the end.
TEST_F(Controls, SliderSendsValueChangedWhileDraggingWhenContinuous) {
    for (bool continuous : {true, false}) {
        auto s = std::make_shared<Slider>(Rect(10, 100, 300, 30));
        s->setContinuous(continuous);
        window->addSubview(s);
        int changes = 0;
        s->addTarget(
            nullptr, [&](ActionSender*) { ++changes; }, ControlEventValueChanged);
        const Rect thumb = s->thumbRect();
        drag(10 + thumb.midX(), 115, 250, 115);
        EXPECT_GT(s->value(), 0.7f);
        EXPECT_EQ(changes, continuous ? 2 : 1);
        s->setValue(0.2f); // code changes send nothing
        EXPECT_EQ(changes, continuous ? 2 : 1);
        s->removeFromSuperview();
    }
}

TEST_F(Controls, SwitchTogglesOnTapAndNotFromCode) {
    auto sw = std::make_shared<Switch>(Rect(100, 100, 51, 31));
    window->addSubview(sw);
    int changes = 0;
    sw->addTarget(
        nullptr, [&](ActionSender*) { ++changes; }, ControlEventValueChanged);
    tap(120, 115);
    EXPECT_TRUE(sw->isOn());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(sw->knobPosition(), 1.0f); // the slide has finished
    sw->setOn(false, true);
    EXPECT_FALSE(sw->isOn());
    EXPECT_EQ(changes, 1);
}

TEST_F(Controls, SegmentedControlSelectsTheTouchedSegment) {
    auto seg = std::make_shared<SegmentedControl>(
        std::vector<std::string>{"Normal", "Multiply", "Screen"});
    seg->setFrame(Rect(10, 200, 300, 30));
    window->addSubview(seg);
    int changes = 0;
    seg->addTarget(
        nullptr, [&](ActionSender*) { ++changes; }, ControlEventValueChanged);
    EXPECT_EQ(seg->selectedSegmentIndex(), SegmentedControl::kNoSegment);
    tap(10 + 250, 215);
    EXPECT_EQ(seg->selectedSegmentIndex(), 2);
    tap(10 + 250, 215); // the same segment again: no change
    EXPECT_EQ(changes, 1);
    seg->setSelectedSegmentIndex(7);
    EXPECT_EQ(seg->selectedSegmentIndex(), SegmentedControl::kNoSegment);
}

namespace {
struct RecordingDelegate : TextFieldDelegate {
    bool allowEnd = true;
    int returns = 0;
    bool textFieldShouldEndEditing(TextField& f) override { return allowEnd && !f.text().empty(); }
    bool textFieldShouldReturn(TextField& f) override {
        ++returns;
        f.resignFirstResponder();
        return true;
    }
};
} // namespace

// Return does nothing while empty (return key enabled only with text); with
// text the delegate is asked and the field gives up the keyboard.
TEST_F(Controls, TextFieldReturnKeyNeedsTextAndAsksTheDelegate) {
    auto f = std::make_shared<TextField>(Rect(10, 50, 300, 31));
    f->setEnablesReturnKeyAutomatically(true);
    f->setClearButtonMode(TextFieldViewMode::WhileEditing);
    RecordingDelegate d;
    f->setDelegate(&d);
    window->addSubview(f);
    int ended = 0;
    f->addTarget(
        nullptr, [&](ActionSender*) { ++ended; }, ControlEventEditingDidEnd);
    tap(100, 65);
    ASSERT_TRUE(f->isFirstResponder());
    EXPECT_TRUE(f->isEditing());
    EXPECT_TRUE(f->clearButtonRect().isNull()); // nothing to clear yet
    window->key(Key::Return);
    EXPECT_EQ(d.returns, 0);
    EXPECT_FALSE(f->resignFirstResponder()); // empty text may not end editing
    window->insertText("Hi\u00e9");
    window->key(Key::Backspace);
    EXPECT_EQ(f->text(), "Hi");
    EXPECT_FALSE(f->clearButtonRect().isNull());
    window->key(Key::Return);
    EXPECT_EQ(d.returns, 1);
    EXPECT_FALSE(f->isFirstResponder());
    EXPECT_EQ(ended, 1);
    window->insertText("x"); // not editing: ignored
    EXPECT_EQ(f->text(), "Hi");
}

TEST_F(Controls, TextFieldWithAnExitTargetResignsOnReturn) {
    auto f = std::make_shared<TextField>(Rect(10, 50, 300, 31));
    f->setClearsOnBeginEditing(true);
    f->setText("old");
    window->addSubview(f);
    int exits = 0;
    f->addTarget(
        nullptr, [&](ActionSender*) { ++exits; }, ControlEventEditingDidEndOnExit);
    ASSERT_TRUE(f->becomeFirstResponder());
    EXPECT_EQ(f->text(), "");
    window->key(Key::Return);
    EXPECT_EQ(exits, 1);
    EXPECT_FALSE(f->isFirstResponder());
}

namespace {
struct SheetDelegate : ActionSheetDelegate {
    int clicked = -2;
    void actionSheetClickedButtonAtIndex(ActionSheet&, int index) override { clicked = index; }
};
} // namespace

// Destructive first, other buttons next, cancel last.
TEST_F(Controls, ActionSheetNumbersItsButtonsAndReportsTheTappedOne) {
    SheetDelegate d;
    auto toolbar = std::make_shared<Toolbar>(Rect(0, 436, 320, 44));
    window->addSubview(toolbar);
    auto sheet = std::make_shared<ActionSheet>("Save Image?", &d, "Cancel", "No",
                                               std::vector<std::string>{"Save"});
    sheet->setTag(1);
    EXPECT_EQ(sheet->destructiveButtonIndex(), 0);
    EXPECT_EQ(sheet->firstOtherButtonIndex(), 1);
    EXPECT_EQ(sheet->cancelButtonIndex(), 2);
    EXPECT_EQ(sheet->buttonTitleAtIndex(1), "Save");
    sheet->showFromToolbar(*toolbar);
    RunLoop::main().advanceBy(1);
    ASSERT_TRUE(sheet->isVisible());
    // The "Save" button: find it and tap its centre.
    View* save = nullptr;
    std::function<void(View&)> find = [&](View& v) {
        for (auto& s : v.subviews()) {
            if (auto* c = dynamic_cast<Control*>(s.get()); c && c->title() == "Save")
                save = c;
            find(*s);
        }
    };
    find(*sheet);
    ASSERT_NE(save, nullptr);
    const Point p = save->convertPointToView(save->bounds().center(), nullptr);
    tap(p.x, p.y);
    EXPECT_EQ(d.clicked, 1);
    RunLoop::main().advanceBy(1);
    EXPECT_EQ(sheet->superview(), nullptr);
}

// Without flexible spaces the items spread evenly across the bar.
TEST_F(Controls, ToolbarSpacesItemsEvenly) {
    auto toolbar = std::make_shared<Toolbar>(Rect(0, 436, 320, 44));
    std::vector<BarButtonItemRef> items;
    for (const char* t : {"A", "B", "C", "D"})
        items.push_back(BarButtonItem::withTitle(t, BarButtonItemStyle::Plain, nullptr, {}));
    toolbar->setItems(items);
    std::vector<float> centres;
    for (auto& item : items)
        centres.push_back(toolbar->viewForItem(item.get())->frame().midX());
    const float step = centres[1] - centres[0];
    EXPECT_GT(step, 50);
    EXPECT_NEAR(centres[2] - centres[1], step, 2); // whole-point positions
    EXPECT_NEAR(centres[3] - centres[2], step, 2);
    int fired = 0;
    items[2]->setAction([&](ActionSender* sender) {
        EXPECT_EQ(sender, items[2].get());
        ++fired;
    });
    window->addSubview(toolbar);
    View* v = toolbar->viewForItem(items[2].get());
    const Point p = v->convertPointToView(v->bounds().center(), nullptr);
    tap(p.x, p.y);
    EXPECT_EQ(fired, 1);
}
