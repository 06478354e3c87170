#pragma once

#include <string>

#include "layers/TouchView.h"
#include "platform/foundation/Codable.h"
#include "platform/foundation/Result.h"
#include "platform/graphics/Color.h"
#include "platform/ui/Font.h"

namespace platform {
class KeyedUnarchiver;
}

namespace zorbel {

// A caption on the picture: one line of text in a font and colour, moved,
// scaled and turned under the text tool like an overlay picture. The layer is
// the text's size plus 20 points and the paddings, the text in its middle, so
// the layer's centre (about which it turns and scales) is the caption's
// centre; the transparent margins take touches too. Make it with
// std::make_shared.
//
// Coded form (keys): "TextString", "FontName", "FontSize", "FontColor",
// "TextPaddingWidth", "TextPaddingHeight", "OrgFrame", "CurrentFrame" (the
// transformed bounding box; written, never read), "Center",
// "OriginalTransform" (as text). The size is worked out again from the text.
class TextLayerView : public TouchView, public platform::Codable {
public:
    static constexpr const char* kDefaultText = "Init String";
    static constexpr const char* kDefaultFontName = "MarkerFelt-Thin";
    static constexpr float kDefaultFontSize = 48;
    static constexpr float kDefaultPaddingWidth = 400;
    static constexpr float kDefaultPaddingHeight = 100;
    static constexpr float kTextMargin = 20;
    // Coded values beyond these are refused as damaged.
    static constexpr float kMaxCodedFontSize = 500;
    static constexpr float kMaxCodedPadding = 4096;

    TextLayerView();
    // orgFrameRect becomes the frame.
    explicit TextLayerView(const platform::Rect& frame);
    std::string className() const override { return "TextLayerView"; }

    // The layer's size for a text of `textSize` in its font.
    static platform::Size layerSizeForTextSize(platform::Size textSize, float paddingWidth,
                                               float paddingHeight);
    // Where the text's top-left corner is drawn inside the layer.
    platform::Point textOrigin() const;

    const std::string& textString() const { return textString_; }
    void setTextString(const std::string& text);
    platform::Point textPoint() const { return textPoint_; }
    void setTextPoint(platform::Point p);
    const std::string& fontName() const { return fontName_; }
    void setFontName(const std::string& name) { fontName_ = name; }
    float fontSize() const { return fontSize_; }
    void setFontSize(float size) { fontSize_ = size; }
    const platform::Color& fontColor() const { return fontColor_; }
    void setFontColor(const platform::Color& color);
    // Null when the platform knows no face for fontName; drawing then tries
    // once more to make it from fontName and fontSize.
    const platform::FontRef& font() const { return font_; }
    void setFont(platform::FontRef font);
    const platform::Rect& orgFrameRect() const { return orgFrameRect_; }
    void setOrgFrameRect(const platform::Rect& r) { orgFrameRect_ = r; }
    float textPaddingWidth() const { return textPaddingWidth_; }
    void setTextPaddingWidth(float w) { textPaddingWidth_ = w; }
    float textPaddingHeight() const { return textPaddingHeight_; }
    void setTextPaddingHeight(float h) { textPaddingHeight_ = h; }

    void drawRect(platform::Context& context, const platform::Rect& dirty) override;

    void encodeWithCoder(platform::KeyedArchiver& coder) const override;
    // The caption the coder's keys describe; it becomes the delegate's last
    // moved text layer.
    [[nodiscard]] static platform::Result<std::shared_ptr<platform::Codable>>
    initWithCoder(platform::KeyedUnarchiver& coder);

protected:
    void noteTouched(LayersDelegate& delegate, bool began) override;
    void deleteLayer(LayersDelegate* delegate) override;

private:
    void setUpDefaults();
    // The font to measure and draw with: font, else one made now.
    platform::FontRef drawingFont() const;
    std::shared_ptr<TextLayerView> sharedSelf();

    std::string textString_ = kDefaultText;
    platform::Point textPoint_{10, 10};
    std::string fontName_ = kDefaultFontName;
    float fontSize_ = kDefaultFontSize;
    platform::Color fontColor_ = platform::Color::blueColor();
    platform::FontRef font_;
    platform::Rect orgFrameRect_;
    float textPaddingWidth_ = kDefaultPaddingWidth;
    float textPaddingHeight_ = kDefaultPaddingHeight;
};

} // namespace zorbel
