#pragma once

namespace platform {

// Registers the controls and chrome with the interface loader under their
// class names ("Button", "Label", "ImageView", "Slider", "Switch",
// "SegmentedControl", "TextField", "ScrollView", "Toolbar", "NavigationBar",
// "ActivityIndicatorView"), each reading its own settings from the file:
//   Button:    "buttonType" ("custom" | "roundedRect"), "title",
//              "highlightedTitle", "titleColor", "highlightedTitleColor",
//              "backgroundImage", "highlightedBackgroundImage",
//              "leftCapWidth", "topCapHeight", "image", "highlightedImage",
//              "selectedImage", "fontName", "fontSize", "boldFontSize"
//   Label:     "text", "textColor", "textAlignment" ("left" | "center" |
//              "right"), "numberOfLines", "fontName", "fontSize", "boldFontSize"
//   ImageView: "image"
//   Slider:    "minimumValue", "maximumValue", "value", "continuous",
//              "minimumValueImage", "maximumValueImage"
//   Switch:    "on"
//   SegmentedControl: "segments" (titles), "segmentImages", "selectedSegmentIndex",
//              "momentary", "tintColor", "fontName", "fontSize", "boldFontSize"
//   TextField: "text", "placeholder", "textColor", "textAlignment",
//              "borderStyle" ("none" | "line" | "bezel" | "roundedRect"),
//              "clearButtonMode" (0..3), "clearsOnBeginEditing",
//              "returnKeyType", "enablesReturnKeyAutomatically", "fontSize",
//              "boldFontSize", "fontName"
//   ScrollView: "contentSize", "contentOffset", "scrollEnabled", "bounces",
//              "alwaysBounceVertical", "alwaysBounceHorizontal",
//              "directionalLockEnabled", "delaysContentTouches",
//              "canCancelContentTouches", "showsScrollIndicators" (both),
//              "showsHorizontalScrollIndicator", "showsVerticalScrollIndicator",
//              "scrollsToTop", "delegate" ("owner": the file's owner, which
//              must be a ScrollViewDelegate)
//   Toolbar, NavigationBar: "barStyle" ("default" | "black" |
//              "blackTranslucent"), "items": [{"image" | "title", "style"
//              ("plain" | "bordered" | "done"), "action", "tag", "width",
//              "system" ("flexibleSpace" | "fixedSpace")}], NavigationBar
//              also "title", "leftItem", "rightItem"
//   ActivityIndicatorView: "style" (0 large white, 1 white, 2 grey), "animating"
// Called by the loader on first use.
void registerControlClasses();

} // namespace platform
