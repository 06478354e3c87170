#pragma once

#include <memory>
#include <vector>

#include "platform/graphics/Color.h"
#include "platform/ui/ViewController.h"

namespace zorbel {

class ColorChoiceView;
class ColorSquareView;
class PickerHost;
class RainbowColorView;

// The colour picker (interface file "ColorChoice"): the palette (tag 123),
// the swatch (tag 124) and the rainbow (tag 125). A palette tap makes that
// colour the paint colour; Done makes the swatch's colour the paint colour.
// Either writes the palette back to the delegate with the boxes changed on
// this visit (the swatch dropped on a box); Cancel drops those changes.
class ColorChoiceViewController : public platform::ViewController {
public:
    static constexpr const char* kInterfaceName = "ColorChoice";
    static constexpr int kPaletteTag = 123;
    static constexpr int kSwatchTag = 124;
    static constexpr int kRainbowTag = 125;

    // Opens with `color` in the swatch and as the palette's selected colour.
    ColorChoiceViewController(PickerHost& host, const platform::Color& color,
                              std::string interfaceName = kInterfaceName);
    ~ColorChoiceViewController() override;

    void viewDidLoad() override;
    void didReceiveMemoryWarning() override;
    bool shouldAutorotateToInterfaceOrientation(int) override { return false; }
    void didRotateFromInterfaceOrientation(int fromOrientation) override;

    // The colour becomes the paint colour, the palette is written back, and
    // the screen closes.
    void colorWasSelected(const platform::Color& color);
    void done(platform::ActionSender* sender);
    void cancel(platform::ActionSender* sender);
    // The palette's working copy, handed to the delegate.
    void replaceMainColorArray(const std::vector<platform::Color>& colors);

    const platform::Color& color() const { return color_; }
    void setColor(const platform::Color& color) { color_ = color; }
    ColorChoiceView* palette();
    ColorSquareView* swatch();
    RainbowColorView* rainbow();

private:
    void placeForLandscape();
    void placeForPortrait();

    PickerHost& host_;
    platform::Color color_;
    bool closing_ = false;
};

} // namespace zorbel
