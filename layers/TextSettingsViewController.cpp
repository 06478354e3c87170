#include "layers/TextSettingsViewController.h"

#include "layers/LayersDelegate.h"
#include "layers/TextFontTable.h"
#include "layers/TextLayerView.h"
#include "layers/TextSettingsUIView.h"
#include "platform/foundation/Log.h"
#include "platform/ui/Switch.h"

namespace zorbel {

using platform::ActionSender;
using platform::Point;
using platform::Rect;

namespace {

bool isLandscape(int orientation) {
    return orientation == 3 || orientation == 4;
}

// Where the options group and the second column of fonts stand in each
// layout; the first column and the text field stay where the file puts them.
constexpr Point kOptionsPortrait{193, 107};
constexpr Point kOptionsLandscape{350, 63};
constexpr int kSecondColumnFirstTag = 6;
constexpr int kSecondColumnLastTag = 10;
constexpr Point kSecondColumnPortrait{20, 260};
constexpr Point kSecondColumnLandscape{200, 110};
constexpr float kFontButtonStep = 30;

void moveOrigin(platform::View* view, Point origin) {
    if (!view)
        return;
    const Rect f = view->frame();
    view->setFrame(Rect(origin.x, origin.y, f.width(), f.height()));
}

} // namespace

TextSettingsViewController::TextSettingsViewController(std::shared_ptr<TextLayerView> layer)
    : platform::ViewController(kInterfaceName) {
    TextSettingsUIView::registerInterfaceClass();
    registerAction("done:", [this](ActionSender* s) { save(s); });
    registerAction("save:", [this](ActionSender* s) { save(s); });
    registerAction("cancel:", [this](ActionSender* s) { cancel(s); });
    registerAction("new:", [this](ActionSender* s) { newCaption(s); });
    registerAction("bold:", [this](ActionSender* s) { bold(s); });
    registerAction("italic:", [this](ActionSender* s) { italic(s); });
    registerAction("doneEditing:", [this](ActionSender* s) { doneEditing(s); });
    for (int row = 0; row < int(kTextFontTable.size()); ++row)
        registerAction(kTextFontTable[std::size_t(row)].action,
                       [this, row](ActionSender*) { chooseFont(row); });
    registerOutlet("textField", textField_);
    registerOutlet("boldSwitch", boldSwitch_);
    registerOutlet("italicSwitch", italicSwitch_);

    if (layer) {
        textValue_ = layer->textString();
        textLayerView_ = layer;
        font_ = layer->font();
        fontName_ = layer->fontName();
        fontSize_ = layer->fontSize();
        fontColor_ = layer->fontColor();
    } else {
        startNewCaption();
    }
}

TextSettingsViewController::~TextSettingsViewController() {
    letGoOfTextField();
}

void TextSettingsViewController::startNewCaption() {
    textLayerView_.reset();
    textValue_.clear();
    fontName_ = kNewCaptionFontName;
    fontSize_ = kNewCaptionFontSize;
    const LayersDelegate* delegate = LayersDelegate::shared();
    fontColor_ = delegate ? delegate->getSelectedColor() : platform::Color::black();
    font_ = platform::Font::fontWithName(fontName_, fontSize_);
}

void TextSettingsViewController::letGoOfTextField() {
    if (!textField_)
        return;
    textField_->removeTarget(this, platform::ControlEventEditingDidEndOnExit);
    if (textField_->delegate() == this)
        textField_->setDelegate(nullptr);
}

TextSettingsUIView* TextSettingsViewController::settingsView() const {
    return isViewLoaded() ? dynamic_cast<TextSettingsUIView*>(
                                const_cast<TextSettingsViewController*>(this)->view().get())
                          : nullptr;
}

void TextSettingsViewController::viewDidLoad() {
    if (textField_) {
        textField_->setDelegate(this);
        textField_->addTarget(
            this, [this](ActionSender* s) { doneEditing(s); },
            platform::ControlEventEditingDidEndOnExit, "doneEditing:");
        textField_->setFont(platform::Font::boldSystemFontOfSize(16));
        textField_->setReturnKeyType(platform::ReturnKeyDefault);
        textField_->setEnablesReturnKeyAutomatically(true);
        textField_->setClearsOnBeginEditing(false);
        textField_->setClearButtonMode(platform::TextFieldViewMode::WhileEditing);
        textField_->setPlaceholder(kPlaceholder);
        textField_->setAutocorrectionType(0);
        textField_->setAutocapitalizationType(2); // sentences
        textField_->setEnabled(true);
        textField_->setText(textValue_);
    }
    const LayersDelegate* delegate = LayersDelegate::shared();
    if (delegate && isLandscape(delegate->getCurrentOrientation()))
        layOutForLandscape(true);
    // The field is not in a window before the screen appears.
    keyboardOnAppear_ = !textLayerView();
    updateFontButtons();
}

void TextSettingsViewController::viewDidAppear(bool) {
    if (quitOnRevealFlag_ && parentViewController()) {
        parentViewController()->dismissModalViewControllerAnimated(false);
        return;
    }
    if (keyboardOnAppear_ && textField_) {
        keyboardOnAppear_ = false;
        textField_->becomeFirstResponder();
    }
}

void TextSettingsViewController::didReceiveMemoryWarning() {
    platform::log("******* didReceiveMemoryWarning TextsettingsVC");
}

bool TextSettingsViewController::shouldAutorotateToInterfaceOrientation(int orientation) {
    const LayersDelegate* delegate = LayersDelegate::shared();
    return delegate ? orientation == delegate->documentOrientation() : orientation == 1;
}

void TextSettingsViewController::didRotateFromInterfaceOrientation(int fromOrientation) {
    layOutForLandscape(!isLandscape(fromOrientation));
}

void TextSettingsViewController::layOutForLandscape(bool landscape) {
    platform::View* root = view().get();
    moveOrigin(root->viewWithTag(kOptionsTag), landscape ? kOptionsLandscape : kOptionsPortrait);
    const Point column = landscape ? kSecondColumnLandscape : kSecondColumnPortrait;
    for (int tag = kSecondColumnFirstTag; tag <= kSecondColumnLastTag; ++tag)
        moveOrigin(
            root->viewWithTag(tag),
            Point{column.x, column.y + kFontButtonStep * float(tag - kSecondColumnFirstTag)});
    // The selection frame is drawn where the buttons stand.
    root->setNeedsDisplay();
}

void TextSettingsViewController::updateFontButtons() {
    if (TextSettingsUIView* v = settingsView())
        v->setFontName(fontName_);
}

void TextSettingsViewController::chooseFont(int row) {
    if (row < 0 || row >= int(kTextFontTable.size()))
        return;
    const TextFontChoice& choice = kTextFontTable[std::size_t(row)];
    fontName_ = choice.fontName;
    font_ = platform::Font::fontWithName(fontName_, choice.fontSize);
    updateFontButtons();
}

void TextSettingsViewController::bold(ActionSender* sender) {
    if (auto* s = dynamic_cast<platform::Switch*>(sender))
        bold_ = s->isOn();
}

void TextSettingsViewController::italic(ActionSender* sender) {
    if (auto* s = dynamic_cast<platform::Switch*>(sender))
        italic_ = s->isOn();
}

std::string TextSettingsViewController::addBoldAndItalic(const std::string& fontName) const {
    if (bold_ && italic_)
        return fontName + "-BoldItalic";
    if (bold_)
        return fontName + "-Bold";
    if (italic_)
        return fontName + "-Italic";
    return fontName;
}

void TextSettingsViewController::newCaption(ActionSender*) {
    startNewCaption();
    if (textField_) {
        textField_->setText("");
        textField_->becomeFirstResponder();
    }
    updateFontButtons();
}

bool TextSettingsViewController::textFieldShouldReturn(platform::TextField& field) {
    field.resignFirstResponder();
    letGoOfTextField();
    return true;
}

bool TextSettingsViewController::textFieldShouldEndEditing(platform::TextField& field) {
    return !field.text().empty();
}

void TextSettingsViewController::cancel(ActionSender*) {
    if (dismissed_)
        return;
    // Without its delegate the field gives up the keyboard even when empty.
    letGoOfTextField();
    if (textField_)
        textField_->resignFirstResponder();
    dismissed_ = true;
    dismissModalViewControllerAnimated(true);
}

Rect TextSettingsViewController::captionFrameForTextSize(platform::Size textSize) {
    const platform::Size size = TextLayerView::layerSizeForTextSize(
        textSize, TextLayerView::kDefaultPaddingWidth, TextLayerView::kDefaultPaddingHeight);
    return Rect(0, 0, size.width, size.height);
}

void TextSettingsViewController::save(ActionSender*) {
    if (dismissed_ || !textField_ || textField_->text().empty())
        return;
    textValue_ = textField_->text();
    textField_->resignFirstResponder();
    letGoOfTextField();

    platform::FontRef measuring =
        font_ ? font_ : platform::Font::fontWithName(fontName_, fontSize_);
    if (!measuring)
        measuring = platform::Font::systemFontOfSize(fontSize_);
    auto layer = std::make_shared<TextLayerView>(
        captionFrameForTextSize(measuring->sizeOfString(textValue_)));
    layer->setCenter(kNewCaptionCenter);
    layer->setFont(font_);
    layer->setFontName(fontName_);
    // The size the font was made at: a script face made smaller keeps that
    // size when the caption is read back after a relaunch.
    layer->setFontSize(font_ ? font_->pointSize() : fontSize_);
    layer->setFontColor(fontColor_);
    layer->setTextString(textValue_);

    LayersDelegate* delegate = LayersDelegate::shared();
    if (auto old = textLayerView_.lock())
        old->removeFromSuperview();
    textLayerView_ = layer;
    if (delegate) {
        delegate->addTextLayer(layer);
        if (delegate->documentOrientation() == 3)
            layer->setLandscapeRotation();
    }
    layer->setNeedsDisplay();
    dismissed_ = true;
    dismissModalViewControllerAnimated(true);
}

} // namespace zorbel
