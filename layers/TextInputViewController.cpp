#include "layers/TextInputViewController.h"

#include "layers/LayersDelegate.h"
#include "platform/foundation/Log.h"

namespace zorbel {

using platform::ActionSender;

TextInputViewController::TextInputViewController(std::string text)
    : platform::ViewController(kInterfaceName), textValue_(std::move(text)) {
    registerAction("done:", [this](ActionSender* s) { save(s); });
    registerAction("save", [this](ActionSender* s) { save(s); });
    registerAction("cancel:", [this](ActionSender* s) { cancel(s); });
    registerOutlet("textField", textField_);
}

TextInputViewController::~TextInputViewController() {
    letGoOfTextField();
}

void TextInputViewController::letGoOfTextField() {
    if (!textField_)
        return;
    textField_->removeTarget(this, platform::ControlEventEditingDidEnd);
    if (textField_->delegate() == this)
        textField_->setDelegate(nullptr);
}

void TextInputViewController::viewDidLoad() {
    if (!textField_)
        return;
    textField_->setDelegate(this);
    textField_->addTarget(
        this, [this](ActionSender* s) { save(s); }, platform::ControlEventEditingDidEnd, "save");
    textField_->setFont(platform::Font::boldSystemFontOfSize(16));
    textField_->setReturnKeyType(platform::ReturnKeyDone);
    textField_->setEnablesReturnKeyAutomatically(true);
    textField_->setClearsOnBeginEditing(false);
    textField_->setClearButtonMode(platform::TextFieldViewMode::WhileEditing);
    textField_->setEnabled(true);
    textField_->setText(textValue_);
}

void TextInputViewController::viewDidAppear(bool) {
    if (quitOnRevealFlag_ && parentViewController()) {
        parentViewController()->dismissModalViewControllerAnimated(false);
        return;
    }
    // The field is in the window only now.
    if (textField_ && !dismissed_)
        textField_->becomeFirstResponder();
}

void TextInputViewController::didReceiveMemoryWarning() {
    platform::log("******* didReceiveMemoryWarning TextInputView");
}

bool TextInputViewController::shouldAutorotateToInterfaceOrientation(int orientation) {
    const LayersDelegate* delegate = LayersDelegate::shared();
    return delegate ? orientation == delegate->documentOrientation() : orientation == 1;
}

void TextInputViewController::finish() {
    dismissed_ = true;
    dismissModalViewControllerAnimated(true);
}

void TextInputViewController::save(ActionSender*) {
    if (dismissed_)
        return;
    // Leaving the window takes the keyboard away, which would save again.
    letGoOfTextField();
    if (!textField_ || textField_->text().empty()) {
        finish();
        return;
    }
    textValue_ = textField_->text();
    if (LayersDelegate* delegate = LayersDelegate::shared())
        delegate->setOverlayText(textValue_);
    finish();
}

void TextInputViewController::cancel(ActionSender*) {
    if (dismissed_)
        return;
    letGoOfTextField();
    finish();
}

bool TextInputViewController::textFieldShouldReturn(platform::TextField& field) {
    field.resignFirstResponder();
    return true;
}

bool TextInputViewController::textFieldShouldEndEditing(platform::TextField& field) {
    return !field.text().empty();
}

} // namespace zorbel
