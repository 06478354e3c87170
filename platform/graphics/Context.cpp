#include "platform/graphics/Context.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/graphics/Compositor.h"
#include "platform/graphics/Layer.h"
#include "platform/graphics/PathCoverage.h"
#include "platform/graphics/PixelMath.h"
#include "platform/graphics/PixelMemory.h"

namespace platform {

using detail::addStrokePieces;
using detail::Box;
using detail::CoverageMask;
using detail::Op;
using detail::rasterize;

namespace {

constexpr int kMaxContextSide = 16384;
constexpr std::int64_t kMaxContextPixels = 1ll << 28;

Op opFor(BlendMode mode) {
    switch (mode) {
    case BlendMode::Normal:
        return Op::Over;
    case BlendMode::Multiply:
        return Op::Multiply;
    case BlendMode::Screen:
        return Op::Screen;
    case BlendMode::Overlay:
        return Op::Overlay;
    case BlendMode::Darken:
        return Op::Darken;
    case BlendMode::Lighten:
        return Op::Lighten;
    case BlendMode::Clear:
        return Op::Clear;
    case BlendMode::Copy:
        return Op::Src;
    }
    return Op::Over;
}

std::uint8_t alphaByte(float alpha) {
    if (!(alpha > 0))
        return 0;
    if (alpha >= 1)
        return 255;
    return std::uint8_t(detail::roundOf(alpha * 255.0));
}

std::uint32_t unitByte(float v) {
    if (!(v > 0))
        return 0;
    if (v >= 1)
        return 255;
    return std::uint32_t(detail::roundOf(v * 255.0));
}

// The colour at the given extra alpha, premultiplied, as a pixel word.
std::uint32_t premultipliedPixel(const Color& c, float alpha) {
    const float a = std::clamp(c.alpha() * alpha, 0.0f, 1.0f);
    const std::uint32_t A = unitByte(a);
    const std::uint32_t R = std::min(A, unitByte(std::clamp(c.red(), 0.0f, 1.0f) * a));
    const std::uint32_t G = std::min(A, unitByte(std::clamp(c.green(), 0.0f, 1.0f) * a));
    const std::uint32_t B = std::min(A, unitByte(std::clamp(c.blue(), 0.0f, 1.0f) * a));
    return A | R << 8 | G << 16 | B << 24;
}

// Float noise from composed transforms (a quarter turn's cosine is -4e-8, not
// 0) would otherwise turn exact pixel copies into resampling.
float snap(float v, float tolerance) {
    const float r = float(detail::roundOf(v));
    return std::fabs(v - r) < tolerance ? r : v;
}

AffineTransform snapped(AffineTransform t) {
    t.a = snap(t.a, 1e-5f);
    t.b = snap(t.b, 1e-5f);
    t.c = snap(t.c, 1e-5f);
    t.d = snap(t.d, 1e-5f);
    t.tx = snap(t.tx, 1e-3f);
    t.ty = snap(t.ty, 1e-3f);
    return t;
}

} // namespace

struct Context::State {
    AffineTransform ctm;
    Box clipBox;
    std::shared_ptr<const CoverageMask> clipMask; // over the whole bitmap, or null
    float alpha = 1;
    BlendMode blendMode = BlendMode::Normal;
    Color fillColor = Color::black();
    Color strokeColor = Color::black();
    float lineWidth = 1;
};

struct Context::Impl {
    State state;
    std::vector<State> stack;
    // Where this context was last drawn into another, turned or reduced.
    detail::PlacementCache placement;
};

std::unique_ptr<Context> Context::createBitmap(int width, int height, std::uint8_t* data,
                                               YAxis axis) {
    if (width <= 0 || height <= 0 || width > kMaxContextSide || height > kMaxContextSide ||
        std::int64_t(width) * height > kMaxContextPixels)
        return nullptr;
    if (reinterpret_cast<std::uintptr_t>(data) % 4 != 0)
        return nullptr;
    bool owned = false;
    if (!data) {
        data = PixelMemory::allocate(std::size_t(width) * 4 * std::size_t(height));
        if (!data)
            return nullptr;
        owned = true;
    }
    return std::unique_ptr<Context>(new Context(width, height, data, owned, axis));
}

Context::Context(int width, int height, std::uint8_t* data, bool owned, YAxis axis)
    : width_(width), height_(height), data_(data), knownClear_(owned), owned_(owned), axis_(axis),
      impl_(std::make_unique<Impl>()) {
    impl_->state.clipBox = {0, 0, width, height};
}

Context::~Context() {
    if (owned_)
        PixelMemory::release(data_, bytesPerRow() * std::size_t(height_));
}

// --- State ---------------------------------------------------------------

void Context::saveGState() {
    impl_->stack.push_back(impl_->state);
}

void Context::restoreGState() {
    if (impl_->stack.empty())
        return; // an unbalanced restore keeps the state
    impl_->state = std::move(impl_->stack.back());
    impl_->stack.pop_back();
}

void Context::concatCTM(const AffineTransform& t) {
    impl_->state.ctm = t.concat(impl_->state.ctm);
}

void Context::translateCTM(float dx, float dy) {
    concatCTM(AffineTransform::makeTranslation(dx, dy));
}

void Context::scaleCTM(float sx, float sy) {
    concatCTM(AffineTransform::makeScale(sx, sy));
}

void Context::rotateCTM(float radians) {
    concatCTM(AffineTransform::makeRotation(radians));
}

AffineTransform Context::ctm() const {
    return impl_->state.ctm;
}

void Context::setCTM(const AffineTransform& t) {
    impl_->state.ctm = t;
}

AffineTransform Context::baseTransform() const {
    if (axis_ == YAxis::Up)
        return {1, 0, 0, -1, 0, float(height_)};
    return {};
}

AffineTransform Context::userToDevice() const {
    return impl_->state.ctm.concat(baseTransform());
}

void Context::clipToRect(const Rect& r) {
    State& s = impl_->state;
    if (r.isNull() || r.isEmpty()) {
        s.clipBox = {0, 0, 0, 0};
        s.clipMask.reset();
        return;
    }
    const AffineTransform t = snapped(userToDevice());
    const bool axisAligned = (t.b == 0 && t.c == 0) || (t.a == 0 && t.d == 0);
    if (axisAligned) {
        // Pixels the rectangle touches at all are inside: a redisplay clipped
        // to a dirty rectangle then never leaves a stale edge.
        const Rect d = t.apply(r.standardized());
        auto lo = [](float v) { return int(std::clamp(detail::floorOf(v + 1e-3), -1e8, 1e8)); };
        auto hi = [](float v) { return int(std::clamp(detail::ceilOf(v - 1e-3), -1e8, 1e8)); };
        const Box box{lo(d.minX()), lo(d.minY()), hi(d.maxX()), hi(d.maxY())};
        s.clipBox = s.clipBox.intersect(box);
        return;
    }
    const Rect q = r.standardized();
    CoverageMask part =
        rasterize({{t.apply(Point{q.minX(), q.minY()}), t.apply(Point{q.maxX(), q.minY()}),
                    t.apply(Point{q.maxX(), q.maxY()}), t.apply(Point{q.minX(), q.maxY()})}},
                  false, s.clipBox);
    if (part.empty()) {
        s.clipBox = {0, 0, 0, 0};
        s.clipMask.reset();
        return;
    }
    // The clip mask spans the whole bitmap so every draw can index it alike.
    auto mask = std::make_shared<CoverageMask>();
    mask->width = width_;
    mask->height = height_;
    mask->stride = (std::size_t(width_) + 3) & ~std::size_t(3);
    mask->bytes.assign(mask->stride * std::size_t(height_), 0);
    for (int y = part.y0; y < part.y0 + part.height; ++y)
        std::copy_n(part.row(y), part.width, mask->row(y) + part.x0);
    if (s.clipMask)
        detail::multiplyCoverage(*mask, *s.clipMask);
    s.clipBox =
        s.clipBox.intersect({part.x0, part.y0, part.x0 + part.width, part.y0 + part.height});
    s.clipMask = std::move(mask);
}

Rect Context::clipBoundingBox() const {
    const Box& b = impl_->state.clipBox;
    if (b.empty())
        return Rect::null();
    const Rect device(float(b.x0), float(b.y0), float(b.x1 - b.x0), float(b.y1 - b.y0));
    return userToDevice().inverted().apply(device);
}

void Context::setAlpha(float alpha) {
    impl_->state.alpha = std::isnan(alpha) ? 1.0f : std::clamp(alpha, 0.0f, 1.0f);
}

float Context::alpha() const {
    return impl_->state.alpha;
}

void Context::setBlendMode(BlendMode mode) {
    impl_->state.blendMode = mode;
}

BlendMode Context::blendMode() const {
    return impl_->state.blendMode;
}

void Context::setFillColor(const Color& c) {
    impl_->state.fillColor = c;
}

void Context::setStrokeColor(const Color& c) {
    impl_->state.strokeColor = c;
}

void Context::setLineWidth(float width) {
    impl_->state.lineWidth = width;
}

Color Context::fillColor() const {
    return impl_->state.fillColor;
}

Color Context::strokeColor() const {
    return impl_->state.strokeColor;
}

float Context::lineWidth() const {
    return impl_->state.lineWidth;
}

// --- Drawing ---------------------------------------------------------------

namespace {

detail::Surface surfaceOf(std::uint8_t* data, int width, int height) {
    return {reinterpret_cast<std::uint32_t*>(data), width, height, width};
}

bool isWholePixelBox(const Rect& d) {
    auto whole = [](float v) { return std::fabs(v - detail::roundOf(v)) < 1e-3; };
    return whole(d.minX()) && whole(d.minY()) && whole(d.maxX()) && whole(d.maxY());
}

Box wholeBox(const Rect& d) {
    auto edge = [](float v) { return int(std::clamp(detail::roundOf(v), -1e8, 1e8)); };
    return {edge(d.minX()), edge(d.minY()), edge(d.maxX()), edge(d.maxY())};
}

std::vector<Point> deviceQuad(const AffineTransform& t, const Rect& r) {
    return {t.apply(Point{r.minX(), r.minY()}), t.apply(Point{r.maxX(), r.minY()}),
            t.apply(Point{r.maxX(), r.maxY()}), t.apply(Point{r.minX(), r.maxY()})};
}

} // namespace

void Context::clearRect(const Rect& r) {
    if (r.isEmpty() || knownClear_)
        return;
    const State& s = impl_->state;
    const AffineTransform t = snapped(userToDevice());
    const detail::Surface surface = surfaceOf(pixelsToWrite(), width_, height_);
    const bool axisAligned = (t.b == 0 && t.c == 0) || (t.a == 0 && t.d == 0);
    const Rect d = t.apply(r.standardized());
    if (axisAligned && isWholePixelBox(d)) {
        const Box box = wholeBox(d).intersect(s.clipBox);
        if (s.clipMask) {
            CoverageMask cov;
            cov.x0 = box.x0;
            cov.y0 = box.y0;
            cov.width = std::max(0, box.x1 - box.x0);
            cov.height = std::max(0, box.y1 - box.y0);
            cov.stride = (std::size_t(cov.width) + 3) & ~std::size_t(3);
            cov.bytes.assign(cov.stride * std::size_t(cov.height), 255);
            detail::multiplyCoverage(cov, *s.clipMask);
            detail::compositeSolid(surface, s.clipBox, 0xFF, Op::OutReverse, &cov);
        } else {
            detail::compositeSolid(surface, box, 0, Op::Src, nullptr);
        }
        return;
    }
    // Partly covered pixels keep the part of them outside the rectangle.
    CoverageMask cov = rasterize({deviceQuad(t, r.standardized())}, false, s.clipBox);
    if (s.clipMask)
        detail::multiplyCoverage(cov, *s.clipMask);
    detail::compositeSolid(surface, s.clipBox, 0xFF, Op::OutReverse, &cov);
}

void Context::fillRect(const Rect& r) {
    if (r.isEmpty())
        return;
    const State& s = impl_->state;
    const AffineTransform t = snapped(userToDevice());
    const bool axisAligned = (t.b == 0 && t.c == 0) || (t.a == 0 && t.d == 0);
    const Rect d = t.apply(r.standardized());
    if (axisAligned && isWholePixelBox(d) && !s.clipMask) {
        const std::uint32_t pixel = premultipliedPixel(s.fillColor, s.alpha);
        detail::compositeSolid(surfaceOf(pixelsToWrite(), width_, height_),
                               wholeBox(d).intersect(s.clipBox), pixel, opFor(s.blendMode),
                               nullptr);
        return;
    }
    Path p;
    p.addRect(r);
    fillPath(p);
}

void Context::fillCoverage(CoverageMask& coverage, const Color& color) {
    const State& s = impl_->state;
    if (coverage.empty())
        return;
    if (s.clipMask)
        detail::multiplyCoverage(coverage, *s.clipMask);
    detail::compositeSolid(surfaceOf(pixelsToWrite(), width_, height_), s.clipBox,
                           premultipliedPixel(color, s.alpha), opFor(s.blendMode), &coverage);
}

void Context::fillPath(const Path& p) {
    const State& s = impl_->state;
    if (p.isEmpty() || s.clipBox.empty())
        return;
    const AffineTransform t = userToDevice();
    std::vector<std::vector<Point>> polygons;
    for (const auto& sub : p.subpaths()) {
        if (sub.size() < 3)
            continue;
        std::vector<Point>& poly = polygons.emplace_back();
        poly.reserve(sub.size());
        for (const Point& q : sub)
            poly.push_back(t.apply(q));
    }
    CoverageMask coverage = rasterize(polygons, false, s.clipBox);
    fillCoverage(coverage, s.fillColor);
}

void Context::strokePath(const Path& p) {
    const State& s = impl_->state;
    if (p.isEmpty() || s.clipBox.empty() || !(s.lineWidth > 0))
        return;
    const AffineTransform t = userToDevice();
    std::vector<std::vector<Point>> pieces;
    const auto& subs = p.subpaths();
    const auto& closed = p.closed();
    for (std::size_t i = 0; i < subs.size(); ++i)
        addStrokePieces(subs[i], closed[i], s.lineWidth / 2, t, pieces);
    CoverageMask coverage = rasterize(pieces, true, s.clipBox);
    fillCoverage(coverage, s.strokeColor);
}

void Context::strokeLineSegments(std::span<const Point> pairs) {
    Path p;
    for (std::size_t i = 0; i + 1 < pairs.size(); i += 2) {
        p.moveTo(pairs[i]);
        p.lineTo(pairs[i + 1]);
    }
    strokePath(p);
}

void Context::strokeRect(const Rect& r) {
    Path p;
    p.addRect(r);
    strokePath(p);
}

void Context::drawBitmap(const Rect& r, const std::uint8_t* pixels, int width, int height,
                         bool topAtHighY, PictureOrientation orientation, const Context* source) {
    if (r.isEmpty() || !pixels || width <= 0 || height <= 0)
        return;
    const State& s = impl_->state;
    if (s.clipBox.empty())
        return;
    const Rect q = r.standardized();
    const bool quarter = turnsAQuarter(orientation);
    const float seenW = float(quarter ? height : width), seenH = float(quarter ? width : height);
    const AffineTransform seenToUser =
        topAtHighY
            ? AffineTransform{q.width() / seenW, 0, 0, -q.height() / seenH, q.minX(), q.maxY()}
            : AffineTransform{q.width() / seenW, 0, 0, q.height() / seenH, q.minX(), q.minY()};
    const AffineTransform toDevice = snapped(storedToSeen(orientation, float(width), float(height))
                                                 .concat(seenToUser)
                                                 .concat(userToDevice()));
    const detail::SourceBitmap src{reinterpret_cast<const std::uint32_t*>(pixels), width, height,
                                   width};
    // Only pixels the source owns are its own to keep samples of.
    const bool keep = source && source->owned_ && source != this;
    detail::compositeBitmap(surfaceOf(pixelsToWrite(), width_, height_), s.clipBox, src, toDevice,
                            opFor(s.blendMode), alphaByte(s.alpha), s.clipMask.get(),
                            keep ? &source->impl_->placement : nullptr,
                            keep ? source->version_ : 0);
}

void Context::drawImage(const Rect& r, const Image& image) {
    drawBitmap(r, image.data(), image.width(), image.height(), true, PictureOrientation::Up);
}

void Context::drawImageUpright(const Rect& r, const Image& image) {
    drawBitmap(r, image.data(), image.width(), image.height(), axis_ == YAxis::Up,
               image.pictureOrientation());
}

void Context::drawContext(const Rect& r, const Context& source) {
    // A clear source changes nothing under the blend modes that keep what
    // it does not cover; reading it would only touch its untouched pages.
    if (source.isKnownClear() && impl_->state.blendMode != BlendMode::Clear &&
        impl_->state.blendMode != BlendMode::Copy)
        return;
    drawBitmap(r, source.data(), source.width(), source.height(), source.yAxis() == YAxis::Up,
               PictureOrientation::Up, &source);
}

void Context::fillMask(const Rect& r, const std::uint8_t* mask, int width, int height, int stride) {
    const State& s = impl_->state;
    if (r.isEmpty() || !mask || width <= 0 || height <= 0 || stride < width || s.clipBox.empty())
        return;
    const Rect q = r.standardized();
    const float sx = q.width() / float(width), sy = q.height() / float(height);
    const AffineTransform maskToUser = axis_ == YAxis::Up
                                           ? AffineTransform{sx, 0, 0, -sy, q.minX(), q.maxY()}
                                           : AffineTransform{sx, 0, 0, sy, q.minX(), q.minY()};
    const AffineTransform toDevice = snapped(maskToUser.concat(userToDevice()));
    CoverageMask coverage =
        detail::transformA8(mask, width, height, std::size_t(stride), toDevice, s.clipBox);
    fillCoverage(coverage, s.fillColor);
}

void Context::drawLayerAtPoint(Point p, const Layer& layer) {
    drawLayerInRect(Rect(p, layer.size()), layer);
}

void Context::drawLayerInRect(const Rect& r, const Layer& layer) {
    drawContext(r, layer.context());
}

ImageRef Context::makeImage() const {
    std::vector<std::uint8_t> pixels(data_, data_ + bytesPerRow() * std::size_t(height_));
    return std::make_shared<const Image>(width_, height_, std::move(pixels), 0);
}

std::unique_ptr<Context> CreateARGBBitmapContext(const Image& image) {
    const int w = image.width(), h = image.height();
    std::uint8_t* memory = nullptr;
    if (w > 0 && h > 0)
        memory = PixelMemory::allocate(std::size_t(w) * 4 * std::size_t(h));
    if (!memory && w > 0 && h > 0) {
        std::fputs("++++++++++++++ Memory not allocated! CreateARGBBitmapContext", stderr);
        std::fflush(stderr);
        return nullptr;
    }
    if (w <= 0 || h <= 0 || w > kMaxContextSide || h > kMaxContextSide ||
        std::int64_t(w) * h > kMaxContextPixels) {
        PixelMemory::release(memory, std::size_t(w) * 4 * std::size_t(h));
        std::fputs("Context not created! CreateARGBBitmapContext", stderr);
        std::fflush(stderr);
        return nullptr;
    }
    return std::unique_ptr<Context>(
        new Context(w, h, memory, true, YAxis::Up));
}

} // namespace platform
