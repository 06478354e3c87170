#pragma once

namespace zorbel {

// Registers the pickers' views with the interface loader under their class
// names: "BrushImageChoiceView" (made with the brush table loaded),
// "ColorChoiceView", "ColorSquareView", and "RainbowColorView" (which reads
// "image", its picture, as an ImageView does). The application calls it
// before loading any picker's file; calling it again changes nothing.
void registerPickerInterfaceClasses();

} // namespace zorbel
