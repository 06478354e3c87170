#pragma once

#include <vector>

#include "platform/graphics/Image.h"
#include "platform/graphics/Point.h"
#include "platform/graphics/Size.h"

namespace zorbel {

// Describes a brush picture and how it could be laid along a stroke. A plain
// record: the canvas neither reads nor writes it.
struct BrushInfo {
    platform::ImageRef brushImage;
    int brushType = 0;
    bool tintable = false;
    bool rotate = false;
    platform::Size brushImageSize;
    platform::Size actualBrushSize;
    platform::Point spacing;
    bool randomRotate = false;
    bool randomJitter = false;
    platform::Point randomJitterAmount;
    std::vector<platform::ImageRef> multiBrushImages;
};

} // namespace zorbel
