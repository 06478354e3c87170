#include "layers/TouchImageView.h"

#include <cmath>

#include "layers/LayersDelegate.h"
#include "platform/foundation/KeyedArchiver.h"
#include "platform/foundation/KeyedUnarchiver.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/ResourceBundle.h"
#include "platform/graphics/GeometryCoding.h"

namespace zorbel {

using platform::AffineTransform;

TouchImageView::TouchImageView() : LayerGestureOwner(*this, *this) {
    setUpTouchHandling();
}

TouchImageView::TouchImageView(const platform::Rect& frame)
    : FakeUIImageView(frame), LayerGestureOwner(*this, *this), orgFrameRect_(frame) {
    setUpTouchHandling();
}

void TouchImageView::setUpTouchHandling() {
    setUserInteractionEnabled(true);
    setMultipleTouchEnabled(true);
    setExclusiveTouch(false);
}

std::shared_ptr<TouchImageView> TouchImageView::sharedSelf() {
    return std::static_pointer_cast<TouchImageView>(weak_from_this().lock());
}

int TouchImageView::owningTool() const {
    return LayersDelegate::kShapeTool;
}

void TouchImageView::noteTouched(LayersDelegate& delegate, bool) {
    delegate.setLastMovedTouchImageView(sharedSelf());
}

void TouchImageView::fingerJoined(LayersDelegate& delegate) {
    delegate.setDirtyFlag(true);
}

void TouchImageView::deleteLayer(LayersDelegate* delegate) {
    removeFromSuperview();
    if (delegate)
        delegate->setLastMovedTouchImageView(nullptr);
}

void TouchImageView::encodeWithCoder(platform::KeyedArchiver& coder) const {
    coder.encodeString(orgImageFilename_, "ImageFileName");
    platform::encodeRect(coder, orgFrameRect_, "OrgFrame");
    platform::encodeRect(coder, frame(), "CurrentFrame");
    platform::encodePoint(coder, center(), "Center");
    platform::encodeTransform(coder, gesture_.originalTransform(), "OriginalTransform");
}

platform::Result<std::shared_ptr<platform::Codable>>
TouchImageView::initWithCoder(platform::KeyedUnarchiver& coder) {
    using R = platform::Result<std::shared_ptr<platform::Codable>>;
    auto layer = std::make_shared<TouchImageView>();
    layer->orgImageFilename_ = coder.decodeString("ImageFileName");
    const platform::Rect frame = platform::decodeRect(coder, "OrgFrame");
    if (!(std::fabs(frame.size.width) <= kMaxCodedSide) ||
        !(std::fabs(frame.size.height) <= kMaxCodedSide))
        coder.failWithReason("\"OrgFrame\" is larger than a layer can be");
    const platform::Point center = platform::decodePoint(coder, "Center");
    const AffineTransform original = platform::decodeTransform(coder, "OriginalTransform");
    if (coder.failed())
        return R::failure(coder.failureReason());

    layer->setFrame(frame); // while the transform is still the identity
    layer->orgFrameRect_ = frame;
    layer->setCenter(center);
    const std::string& name = layer->orgImageFilename_;
    // Only a plain name of the resources: an archive must not make the app
    // read files elsewhere.
    platform::ImageRef picture;
    if (platform::ResourceBundle::isSafeName(name))
        picture = platform::Image::named(name);
    if (!picture)
        platform::log("Layer picture not found: " + (platform::ResourceBundle::isSafeName(name)
                                                         ? name
                                                         : "(not a resource name)"));
    layer->setImage(std::move(picture));
    layer->gesture_.setOriginalTransform(original);
    layer->setTransform(original);
    if (LayersDelegate* delegate = LayersDelegate::shared())
        delegate->setLastMovedTouchImageView(layer);
    return R(std::move(layer));
}

void TouchImageView::fingersLifted() {
    // The gesture is over once the last finger leaves: the picture is kept
    // as it is now shown.
    if (gesture_.cachedTouchCount() == 0)
        keepPictureAsShown();
}

void TouchImageView::flipView() {
    AffineTransform flip = AffineTransform::makeScale(-1, 1);
    if (LayersDelegate* delegate = LayersDelegate::shared()) {
        const int orientation = delegate->getCurrentOrientation();
        if (orientation == 3 || orientation == 4)
            flip = AffineTransform::makeRotation(-LayerGesture::kQuarterTurn)
                       .scaled(-1, 1)
                       .rotated(LayerGesture::kQuarterTurn);
    }
    gesture_.setOriginalTransform(gesture_.originalTransform().concat(flip));
    setTransform(gesture_.originalTransform());
}

void TouchImageView::touchesBegan(const platform::TouchSet& touches, platform::Event& event) {
    gesture_.touchesBegan(touches, event);
}

void TouchImageView::touchesMoved(const platform::TouchSet& touches, platform::Event& event) {
    gesture_.touchesMoved(touches, event);
}

void TouchImageView::touchesEnded(const platform::TouchSet& touches, platform::Event& event) {
    gesture_.touchesEnded(touches, event);
}

void TouchImageView::touchesCancelled(const platform::TouchSet& touches, platform::Event& event) {
    gesture_.touchesEnded(touches, event);
}

bool TouchImageView::scrollWheel(platform::Point location, float dx, float dy) {
    return gesture_.scrollWheel(location, dx, dy);
}

} // namespace zorbel
