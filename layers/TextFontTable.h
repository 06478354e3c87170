#pragma once

#include <array>
#include <string_view>

namespace zorbel {

// The text settings screen's ten font buttons: the action each sends, the
// font it picks, the size the font is made at, and the button's tag.
struct TextFontChoice {
    const char* action;
    const char* fontName;
    float fontSize;
    int tag;
};

inline constexpr std::array<TextFontChoice, 10> kTextFontTable = {{
    {"Arial:", "ArialRoundedMTBold", 60, 1},
    {"CourierNew:", "Courier-Bold", 60, 2},
    {"Georgia:", "Georgia-Bold", 60, 3},
    {"Helvetica:", "Helvetica-Bold", 60, 4},
    {"MarkerFelt:", "MarkerFelt-Thin", 60, 5},
    {"Times:", "TimesNewRomanPS-BoldMT", 60, 6},
    {"Trebuchet:", "TrebuchetMS-BoldItalic", 60, 7},
    {"AmericanTyperwriter:", "AmericanTypewriter-Bold", 60, 8},
    {"Verdana:", "Verdana-BoldItalic", 60, 9},
    // The script face is far larger than the others at the same size.
    {"Zapfino:", "Zapfino", 30, 10},
}};

// The row of a font name, or null.
inline const TextFontChoice* textFontChoiceNamed(std::string_view fontName) {
    for (const TextFontChoice& c : kTextFontTable)
        if (fontName == c.fontName)
            return &c;
    return nullptr;
}

} // namespace zorbel
