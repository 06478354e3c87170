#pragma once

#include <memory>
#include <string>

#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"

namespace zorbel {

// The plain text entry screen (interface file "TextInputView"): one field
// with the Done key. Done, or the field giving up the keyboard, hands a
// non-empty text to the application's own caption (setOverlayText); empty
// text dismisses the screen with nothing changed. Make it with
// std::make_shared and present it modally.
class TextInputViewController : public platform::ViewController,
                                public platform::TextFieldDelegate {
public:
    static constexpr const char* kInterfaceName = "TextInputView";
    // What the toolbar's text action starts the field with.
    static constexpr const char* kDefaultText = "Some Text";

    // initWithTextString:
    explicit TextInputViewController(std::string text = kDefaultText);
    ~TextInputViewController() override;

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void didReceiveMemoryWarning() override;
    bool shouldAutorotateToInterfaceOrientation(int orientation) override;

    // save (also done:).
    void save(platform::ActionSender* sender = nullptr);
    void cancel(platform::ActionSender* sender = nullptr);

    bool textFieldShouldReturn(platform::TextField& field) override;
    bool textFieldShouldEndEditing(platform::TextField& field) override;

    const std::string& textValue() const { return textValue_; }
    bool quitOnRevealFlag() const { return quitOnRevealFlag_; }
    void setQuitOnRevealFlag(bool v) { quitOnRevealFlag_ = v; }
    const std::shared_ptr<platform::TextField>& textField() const { return textField_; }

private:
    void letGoOfTextField();
    void finish();

    std::shared_ptr<platform::TextField> textField_;
    bool quitOnRevealFlag_ = false;
    std::string textValue_;
    bool dismissed_ = false;
};

} // namespace zorbel
