#pragma once

#include <memory>
#include <string>

#include "platform/ui/Control.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"

namespace platform {

class TextField;
class Timer;

enum class TextBorderStyle { None = 0, Line = 1, Bezel = 2, RoundedRect = 3 };
enum class TextFieldViewMode { Never = 0, WhileEditing = 1, UnlessEditing = 2, Always = 3 };

// Return key types, numbered as the platform we follow numbers them.
enum ReturnKeyType : int {
    ReturnKeyDefault = 0,
    ReturnKeyGo = 1,
    ReturnKeyGoogle = 2,
    ReturnKeyJoin = 3,
    ReturnKeyNext = 4,
    ReturnKeyRoute = 5,
    ReturnKeySearch = 6,
    ReturnKeySend = 7,
    ReturnKeyYahoo = 8,
    ReturnKeyDone = 9,
    ReturnKeyEmergencyCall = 10,
};

// What a text field asks and tells. Every default allows / does nothing.
class TextFieldDelegate {
public:
    virtual ~TextFieldDelegate() = default;
    virtual bool textFieldShouldBeginEditing(TextField&) { return true; }
    virtual void textFieldDidBeginEditing(TextField&) {}
    // False keeps the keyboard (editing goes on).
    virtual bool textFieldShouldEndEditing(TextField&) { return true; }
    virtual void textFieldDidEndEditing(TextField&) {}
    // The return key was pressed; true lets the field send EditingDidEndOnExit.
    virtual bool textFieldShouldReturn(TextField&) { return true; }
    virtual bool textFieldShouldClear(TextField&) { return true; }
};

// A one-line editable text. A tap makes it the first responder (editing):
// the window's typed text and keys reach it, and on touch devices the
// on-screen Keyboard comes up. Events: EditingDidBegin, EditingChanged,
// EditingDidEnd (bit 18) when it gives up the keyboard, and on return
// EditingDidEndOnExit (bit 19); a field with a target for that event then
// gives up the keyboard by itself. With enablesReturnKeyAutomatically the
// return key does nothing while the text is empty.
class TextField : public Control {
public:
    TextField();
    explicit TextField(const Rect& frame);
    ~TextField() override;
    std::string className() const override { return "TextField"; }
    ControlEvents defaultActionEvents() const override { return ControlEventEditingDidEnd; }

    const std::string& text() const { return text_; }
    // Sends nothing.
    void setText(const std::string& text);
    const std::string& placeholder() const { return placeholder_; }
    void setPlaceholder(const std::string& placeholder);
    FontRef font() const { return font_; }
    void setFont(FontRef font);
    Color textColor() const { return textColor_; }
    void setTextColor(const Color& color);
    TextAlignment textAlignment() const { return alignment_; }
    void setTextAlignment(TextAlignment alignment);
    TextBorderStyle borderStyle() const { return border_; }
    void setBorderStyle(TextBorderStyle style);
    TextFieldViewMode clearButtonMode() const { return clearMode_; }
    void setClearButtonMode(TextFieldViewMode mode);
    bool clearsOnBeginEditing() const { return clearsOnBegin_; }
    void setClearsOnBeginEditing(bool v) { clearsOnBegin_ = v; }

    // Keyboard settings (the on-screen keyboard shows them).
    int returnKeyType() const { return returnKeyType_; }
    void setReturnKeyType(int type) { returnKeyType_ = type; }
    bool enablesReturnKeyAutomatically() const { return autoReturn_; }
    void setEnablesReturnKeyAutomatically(bool v) { autoReturn_ = v; }
    bool isReturnKeyEnabled() const { return !autoReturn_ || !text_.empty(); }
    int autocorrectionType() const { return autocorrection_; }
    void setAutocorrectionType(int type) { autocorrection_ = type; }
    // 0 none, 1 words, 2 sentences, 3 all characters.
    int autocapitalizationType() const { return autocapitalization_; }
    void setAutocapitalizationType(int type) { autocapitalization_ = type; }
    int keyboardType() const { return keyboardType_; }
    void setKeyboardType(int type) { keyboardType_ = type; }

    TextFieldDelegate* delegate() const { return delegate_; }
    void setDelegate(TextFieldDelegate* delegate) { delegate_ = delegate; }
    bool isEditing() const { return editing_; }

    // The clear button's rectangle while it shows, else null.
    Rect clearButtonRect() const;
    std::string title() const override { return placeholder_; }

    // First responder and typing.
    bool canBecomeFirstResponder() const override;
    bool canResignFirstResponder() const override;
    void didBecomeFirstResponder() override;
    void didResignFirstResponder() override;
    void insertText(const std::string& utf8) override;
    void deleteBackward() override;
    void keyReturn() override;
    void keyEscape() override;

    void endTrackingWithTouch(Touch* touch, Event* event) override;
    void setEnabled(bool enabled) override;
    void drawRect(Context& context, const Rect& dirty) override;

private:
    void drawBorder(Context& context) const;
    // The text (or the placeholder) and the caret, within textRect().
    void drawTextAndCaret(Context& context) const;
    Rect textRect() const;
    void blink();

    std::string text_;
    std::string placeholder_;
    FontRef font_;
    Color textColor_ = Color::black();
    TextAlignment alignment_ = TextAlignment::Left;
    TextBorderStyle border_ = TextBorderStyle::None;
    TextFieldViewMode clearMode_ = TextFieldViewMode::Never;
    bool clearsOnBegin_ = false;
    int returnKeyType_ = ReturnKeyDefault;
    bool autoReturn_ = false;
    int autocorrection_ = 0;
    int autocapitalization_ = 0;
    int keyboardType_ = 0;
    TextFieldDelegate* delegate_ = nullptr;
    bool editing_ = false;
    bool caretShown_ = true;
    // The caret blinks on the beats of its timer counted from the focus time;
    // it shows on the beats an even number after the last beat before it was
    // last shown (typing shows it at once).
    double caretEpoch_ = 0;
    double caretShownBeat_ = 0;
    std::shared_ptr<Timer> caretTimer_;
    void showCaret();
};

} // namespace platform
