#include "effects/EffectRegistry.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "effects/BulgeImageBitmap.h"
#include "effects/ContrastLUT.h"
#include "effects/DentImageBitmap.h"
#include "effects/FisheyeImageBitmap.h"
#include "effects/GrayLUTImageBitmap.h"
#include "effects/GrayScaleImageBitmap.h"
#include "effects/LightTunnelImageBitmap.h"
#include "effects/MirrorImageBitmap.h"
#include "effects/SingleChannelLUT.h"
#include "effects/SqueezeImage2.h"
#include "effects/TwirlImage3.h"

namespace zorbel {

namespace {

using Plain = void (*)(const std::uint8_t*, std::uint8_t*, int, int);

// The effects with neither amount nor switch.
template <Plain f>
void plain(const EffectBuffers& b, double, bool) {
    f(b.source, b.destination, b.width, b.height);
}

void twirl(const EffectBuffers& b, double amount, bool interpolate) {
    twirlImage3(b.source, b.destination, b.width, b.height, float(amount), interpolate);
}

void sepia(const EffectBuffers& b, double, bool) {
    ColorLUT table{};
    createSepiaLUT(table);
    grayLUTImageBitmap(b.source, b.destination, b.width, b.height, table);
}

void mirror(const EffectBuffers& b, double, bool vertical) {
    mirrorImageBitmap(b.source, b.destination, b.width, b.height, vertical);
}

void brightness(const EffectBuffers& b, double amount, bool) {
    SingleChannelLUT table{};
    createBrightnessLUT(table, int(amount));
    applySingleChannelLUTRaw(b.source, b.destination, b.width, b.height, table);
}

void contrast(const EffectBuffers& b, double amount, bool) {
    SingleChannelLUT table{};
    createIdentityLUT(table);
    createNewContrastLUT(table, int(amount));
    applySingleChannelLUTRaw(b.source, b.destination, b.width, b.height, table);
}

constexpr auto OneShot = EffectKind::OneShot;
constexpr auto Slider = EffectKind::Slider;
constexpr auto None = AmountKind::None;
constexpr auto Real = AmountKind::Real;
constexpr auto Integer = AmountKind::Integer;

// clang-format off
const Effect kEffects[] = {
    // id                    name          kind     amount    min   max  start option        centre
    {EffectId::Bulge,       "bulge",       OneShot, None,       0,    0, 0,    {},            false,
     "the centre swells towards the viewer",                        plain<bulgeImageBitmap>},
    {EffectId::Dent,        "dent",        OneShot, None,       0,    0, 0,    {},            false,
     "the centre sinks away",                                       plain<dentImageBitmap>},
    {EffectId::Fisheye,     "fisheye",     OneShot, None,       0,    0, 0,    {},            false,
     "the whole picture drawn into a lens",                         plain<fisheyeImageBitmap>},
    {EffectId::LightTunnel, "lighttunnel", OneShot, None,       0,    0, 0,    {},            false,
     "the middle kept, the rest in radial streaks",                 plain<lightTunnelImageBitmap>},
    {EffectId::Squeeze,     "squeeze",     OneShot, None,       0,    0, 0,    {},            false,
     "the picture pulled towards the centre",                       plain<squeezeImage2>},
    {EffectId::Twirl,       "twirl",       Slider,  Real,      -2,    2, 0,    "interpolate", true,
     "turns the middle about the centre by 2 x AMOUNT radians there; nearest pixel (the "
     "slider's preview), or bilinear with interpolate (the final render)", twirl},
    {EffectId::GrayScale,   "grayscale",   OneShot, None,       0,    0, 0,    {},            false,
     "grey levels",                                                 plain<grayScaleImageBitmap>},
    {EffectId::Sepia,       "sepia",       OneShot, None,       0,    0, 0,    {},            false,
     "grey levels in brown tones",                                  sepia},
    {EffectId::Mirror,      "mirror",      OneShot, None,       0,    0, 0,    "vertical",    false,
     "the right half mirrored onto the left; vertical: the top half onto the bottom", mirror},
    {EffectId::Brightness,  "brightness",  Slider,  Integer, -255,  255, 0,    {},            false,
     "adds AMOUNT to red, green and blue",                          brightness},
    {EffectId::Contrast,    "contrast",    Slider,  Integer, -100,  100, 0,    {},            false,
     "moves colours away from mid grey (AMOUNT -100 makes all grey)", contrast},
};
// clang-format on

} // namespace

double Effect::clampedAmount(double amount) const {
    if (!hasAmount())
        return 0;
    if (std::isnan(amount))
        return start;
    const double held = std::clamp(amount, minimum, maximum);
    return amountKind == AmountKind::Integer ? std::trunc(held) : held;
}

double Effect::amountFromSlider(float value) const {
    if (amountKind == AmountKind::Integer)
        return clampedAmount(std::trunc(double(value) + 0.5));
    return clampedAmount(value);
}

std::optional<double> Effect::parseAmount(std::string_view text) const {
    std::optional<double> value;
    const char* end = text.data() + text.size();
    if (amountKind == AmountKind::Real) {
        float f = 0;
        auto [ptr, error] = std::from_chars(text.data(), end, f);
        if (error == std::errc() && ptr == end && std::isfinite(f))
            value = f;
    } else if (amountKind == AmountKind::Integer) {
        int i = 0;
        auto [ptr, error] = std::from_chars(text.data(), end, i);
        if (error == std::errc() && ptr == end)
            value = i;
    }
    if (!value || *value < minimum || *value > maximum)
        return std::nullopt;
    return value;
}

void Effect::apply(const EffectBuffers& buffers, double amount, bool option) const {
    function(buffers, clampedAmount(amount), option && !this->option.empty());
}

std::span<const Effect> allEffects() {
    return kEffects;
}

const Effect& effectFor(EffectId id) {
    for (const Effect& e : kEffects)
        if (e.id == id)
            return e;
    return kEffects[0];
}

const Effect* findEffect(std::string_view name) {
    for (const Effect& e : kEffects)
        if (e.name == name)
            return &e;
    return nullptr;
}

} // namespace zorbel
