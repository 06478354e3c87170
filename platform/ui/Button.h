#pragma once

#include <map>
#include <optional>
#include <string>

#include "platform/graphics/Image.h"
#include "platform/ui/Control.h"
#include "platform/ui/Font.h"

namespace platform {

// A picture with caps that keep their size when it is stretched (see
// style::drawStretchable): left cap columns, then one column that stretches,
// then the rest; the same for rows. A cap of 0 scales that axis whole.
struct StretchableImage {
    ImageRef image;
    int leftCapWidth = 0;
    int topCapHeight = 0;

    static StretchableImage make(ImageRef image, int leftCapWidth, int topCapHeight) {
        return {std::move(image), leftCapWidth, topCapHeight};
    }
    explicit operator bool() const { return image != nullptr; }
};

enum class ButtonType {
    Custom = 0,      // only what is set: pictures, title
    RoundedRect = 1, // a white rounded panel with a hairline edge and tinted title
};

enum class ContentHorizontalAlignment { Center = 0, Left = 1, Right = 2, Fill = 3 };
enum class ContentVerticalAlignment { Center = 0, Top = 1, Bottom = 2, Fill = 3 };

// A push button: title, title colour, background picture and picture, each
// per control state (normal, highlighted, disabled, selected; a state without
// its own value shows the normal one). Sends its actions on the touch events
// of Control; the usual one is ControlEventTouchUpInside.
class Button : public Control {
public:
    explicit Button(ButtonType type = ButtonType::Custom);
    Button(ButtonType type, const Rect& frame);
    static std::shared_ptr<Button> buttonWithType(ButtonType type);
    std::string className() const override { return "Button"; }

    ButtonType buttonType() const { return type_; }

    void setTitle(const std::string& title, ControlState state = ControlStateNormal);
    std::string titleForState(ControlState state) const;
    std::string currentTitle() const { return titleForState(state()); }
    std::string title() const override { return currentTitle(); }

    void setTitleColor(const Color& color, ControlState state = ControlStateNormal);
    Color titleColorForState(ControlState state) const;

    void setBackgroundImage(StretchableImage image, ControlState state = ControlStateNormal);
    void setBackgroundImage(ImageRef image, ControlState state = ControlStateNormal) {
        setBackgroundImage(StretchableImage{std::move(image)}, state);
    }
    StretchableImage backgroundImageForState(ControlState state) const;

    void setImage(ImageRef image, ControlState state = ControlStateNormal);
    ImageRef imageForState(ControlState state) const;

    FontRef font() const { return font_; }
    void setFont(FontRef font);

    ContentHorizontalAlignment contentHorizontalAlignment() const { return hAlign_; }
    void setContentHorizontalAlignment(ContentHorizontalAlignment a);
    ContentVerticalAlignment contentVerticalAlignment() const { return vAlign_; }
    void setContentVerticalAlignment(ContentVerticalAlignment a);

    // Darken the picture while pressed when no highlighted picture is set.
    bool adjustsImageWhenHighlighted() const { return adjustsWhenHighlighted_; }
    void setAdjustsImageWhenHighlighted(bool v) { adjustsWhenHighlighted_ = v; }

    void setEnabled(bool enabled) override;
    void setHighlighted(bool highlighted) override;
    void setSelected(bool selected) override;

    Size sizeThatFits(Size size) const override;
    void drawRect(Context& context, const Rect& dirty) override;

private:
    template <class T>
    static const T* lookup(const std::map<ControlState, T>& values, ControlState state);
    // Where the picture goes: by the content mode, or centred and shrunk to
    // fit when the mode is the default scale-to-fill and there is a title.
    Rect imageRect(const Image& image, const Rect& area) const;
    // Draws the picture (left of the title when there is one); answers where
    // the title goes.
    Rect drawImage(Context& context, const ImageRef& image, const std::string& title) const;
    void drawTitle(Context& context, const std::string& title, const Rect& content,
                   bool besideImage, bool ownHighlightBackground) const;

    ButtonType type_;
    std::map<ControlState, std::string> titles_;
    std::map<ControlState, Color> titleColors_;
    std::map<ControlState, StretchableImage> backgrounds_;
    std::map<ControlState, ImageRef> images_;
    FontRef font_;
    ContentHorizontalAlignment hAlign_ = ContentHorizontalAlignment::Center;
    ContentVerticalAlignment vAlign_ = ContentVerticalAlignment::Center;
    bool adjustsWhenHighlighted_ = true;
};

} // namespace platform
