#pragma once

#include <string>

#include "platform/ui/View.h"

namespace zorbel {

// The text settings screen's view: it holds the ten font buttons (tags 1 to
// 10, in the order of TextSettingsViewController's font table) and the
// options group (tag 100), and frames the button of the selected font in
// white.
class TextSettingsUIView : public platform::View {
public:
    static constexpr const char* kClassName = "TextSettingsUIView";
    // Makes the class known to interface files (once).
    static void registerInterfaceClass();

    using View::View;
    std::string className() const override { return kClassName; }

    const std::string& fontName() const { return fontName_; }
    // Marks the view for redrawing.
    void setFontName(const std::string& name);

    // Frames, in the current drawing context, the button whose tag belongs to
    // the font name; a name that is in no row of the table marks nothing.
    void showSelectedFont(const std::string& name);

    void drawRect(platform::Context& context, const platform::Rect& dirty) override;

private:
    std::string fontName_;
};

} // namespace zorbel
