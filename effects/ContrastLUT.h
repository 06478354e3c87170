#pragma once

#include "effects/SingleChannelLUT.h"

namespace zorbel {

// Rewrites the table for a contrast amount (the slider gives -100 ... 100): each entry moves away
// from (or towards) 127 by the factor (amount + 100) / 100, truncated and held to 0 ... 255.
// Amount 0 leaves the table as it is; -100 makes every entry 127. Start from the identity.
void createNewContrastLUT(SingleChannelLUT& table, int contrast);

} // namespace zorbel
