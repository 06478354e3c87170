#pragma once

#include <string>
#include <vector>

#include "platform/ui/View.h"

namespace platform {

class TextField;

// The on-screen keyboard of touch devices: letters, a page of digits and
// symbols, shift, space, backspace and the field's return key (named by its
// return key type, greyed while the field does not enable it). It slides up
// from the bottom of the window when a text field starts editing and down
// when it ends, and types through the window into the first responder, as a
// hardware keyboard does. Off by default; the window driver switches it on
// when the person uses a touch screen.
class Keyboard : public View {
public:
    static void setOnScreenEnabled(bool enabled);
    static bool isOnScreenEnabled();
    // The keyboard on screen now, if any.
    static Keyboard* current();

    // Called by TextField.
    static void show(TextField& field);
    static void hide(TextField& field);
    static void fieldChanged(TextField& field);

    static constexpr float kPortraitHeight = 216;
    static constexpr float kLandscapeHeight = 162;
    static constexpr double kSlideDuration = 0.25;

    enum class Page { Letters, Symbols };
    enum class KeyKind { Character, Shift, Backspace, PageSwitch, Space, Return };
    struct Key {
        KeyKind kind;
        std::string text; // the character typed (Character) or the label
        Rect frame;       // in the keyboard's bounds
    };

    Keyboard();
    std::string className() const override { return "Keyboard"; }

    Page page() const { return page_; }
    bool isShifted() const { return shifted_; }
    // The keys as laid out for the current page and size.
    const std::vector<Key>& keys() const { return keys_; }
    // The key under a point (bounds coordinates), or null.
    const Key* keyAtPoint(Point p) const;
    // What pressing a key does (touch handling and tests).
    void press(const Key& key);

    void layoutSubviews() override;
    void drawRect(Context& context, const Rect& dirty) override;
    void touchesBegan(const TouchSet& touches, Event& event) override;
    void touchesMoved(const TouchSet& touches, Event& event) override;
    void touchesEnded(const TouchSet& touches, Event& event) override;
    void touchesCancelled(const TouchSet& touches, Event& event) override;

private:
    void build();
    void attach(TextField& field);
    std::string returnLabel() const;
    bool returnEnabled() const;
    void updateShiftForField();

    Page page_ = Page::Letters;
    bool shifted_ = false;
    std::vector<Key> keys_;
    int pressed_ = -1;
    TextField* field_ = nullptr;
    Size builtFor_{};
};

} // namespace platform
