#pragma once

#include <memory>
#include <string>

#include "platform/graphics/Color.h"
#include "platform/graphics/Rect.h"
#include "platform/ui/Font.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"

namespace platform {
class Switch;
}

namespace zorbel {

class TextLayerView;
class TextSettingsUIView;

// The text settings screen (interface file "TextSettingsView"): writes a new
// caption, or replaces the one being edited, in one of ten fonts and the
// paint colour. Saving an edited caption makes a new layer, upright and
// unscaled at the screen's centre, in front of the others, and removes the
// old one. Empty text is never saved: the field keeps the keyboard and Save
// does nothing. The screen allows only the document's orientation and moves
// its second column of fonts and its options beside the first in landscape.
// Make it with std::make_shared and present it modally.
class TextSettingsViewController : public platform::ViewController,
                                   public platform::TextFieldDelegate {
public:
    static constexpr const char* kInterfaceName = "TextSettingsView";
    // The group of options (bold, italic, new) in the interface file.
    static constexpr int kOptionsTag = 100;
    // What a new caption starts with.
    static constexpr const char* kNewCaptionFontName = "ArialRoundedMTBold";
    static constexpr float kNewCaptionFontSize = 60;
    static constexpr const char* kPlaceholder = "Type text";
    // Where a saved caption is placed.
    static constexpr platform::Point kNewCaptionCenter{160, 230};

    // initWithTextLayerView: the caption to edit, or null for a new one.
    explicit TextSettingsViewController(std::shared_ptr<TextLayerView> layer = nullptr);
    ~TextSettingsViewController() override;

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void didReceiveMemoryWarning() override;
    bool shouldAutorotateToInterfaceOrientation(int orientation) override;
    void didRotateFromInterfaceOrientation(int fromOrientation) override;

    // --- Actions --------------------------------------------------------------
    // save: (also done:) makes the caption layer and dismisses the screen.
    void save(platform::ActionSender* sender = nullptr);
    void cancel(platform::ActionSender* sender = nullptr);
    // new: starts a new caption on the same screen.
    void newCaption(platform::ActionSender* sender = nullptr);
    // A font button: the font of that row of the table, at the row's size.
    void chooseFont(int row);
    void bold(platform::ActionSender* sender);
    void italic(platform::ActionSender* sender);
    void doneEditing(platform::ActionSender*) {}

    // The font name with "-BoldItalic", "-Bold" or "-Italic" as the switches
    // say. (Saving uses the font the buttons chose, as it is.)
    std::string addBoldAndItalic(const std::string& fontName) const;
    // The selected font's button is framed.
    void updateFontButtons();

    // --- Text field -----------------------------------------------------------
    bool textFieldShouldReturn(platform::TextField& field) override;
    // The keyboard goes only when there is text.
    bool textFieldShouldEndEditing(platform::TextField& field) override;

    // The frame of a caption layer for a text of that size, before it is centred.
    static platform::Rect captionFrameForTextSize(platform::Size textSize);

    // --- State ----------------------------------------------------------------
    const std::string& textValue() const { return textValue_; }
    const std::string& fontName() const { return fontName_; }
    float fontSize() const { return fontSize_; }
    const platform::FontRef& font() const { return font_; }
    const platform::Color& fontColor() const { return fontColor_; }
    bool isBold() const { return bold_; }
    bool isItalic() const { return italic_; }
    // The caption being edited (null for a new one, or once it went away).
    std::shared_ptr<TextLayerView> textLayerView() const { return textLayerView_.lock(); }
    bool quitOnRevealFlag() const { return quitOnRevealFlag_; }
    void setQuitOnRevealFlag(bool v) { quitOnRevealFlag_ = v; }
    const std::shared_ptr<platform::TextField>& textField() const { return textField_; }

private:
    void startNewCaption();
    void layOutForLandscape(bool landscape);
    void letGoOfTextField();
    TextSettingsUIView* settingsView() const;

    std::shared_ptr<platform::Switch> boldSwitch_;
    std::shared_ptr<platform::Switch> italicSwitch_;
    std::shared_ptr<platform::TextField> textField_;
    bool quitOnRevealFlag_ = false;
    std::string textValue_;
    bool bold_ = false;
    bool italic_ = false;
    platform::FontRef font_;
    std::weak_ptr<TextLayerView> textLayerView_;
    std::string fontName_;
    float fontSize_ = kNewCaptionFontSize;
    platform::Color fontColor_;
    bool keyboardOnAppear_ = false;
    bool dismissed_ = false;
};

} // namespace zorbel
