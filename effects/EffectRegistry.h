#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace zorbel {

// Every picture effect, one row each: its name, how it is used, the kind of its amount with
// the range and the start, and the function. zorbel-fx, the canvas and the slider panel read
// the same rows.

// How an effect is used.
enum class EffectKind {
    OneShot, // runs once over the whole picture (on a worker, behind the spinner)
    Slider,  // recomputed from one snapshot while a slider moves; OK keeps it, Cancel restores
};

// What the amount is.
enum class AmountKind {
    None,    // no amount
    Real,    // any value of the range, as a slider gives it
    Integer, // whole numbers of the range; a slider value v gives (int)(v + 0.5)
};

enum class EffectId {
    Bulge,
    Dent,
    Fisheye,
    LightTunnel,
    Squeeze,
    Twirl,
    GrayScale,
    Sepia,
    Mirror,
    Brightness,
    Contrast,
};

// One run: width x height pixels of 4 bytes, rows one after another with nothing between,
// read from `source` and written to `destination` (distinct buffers of the same size).
struct EffectBuffers {
    const std::uint8_t* source = nullptr;
    std::uint8_t* destination = nullptr;
    int width = 0;
    int height = 0;
};

struct Effect {
    using Function = void (*)(const EffectBuffers& buffers, double amount, bool option);

    EffectId id;
    std::string_view name; // one lower-case word ("lighttunnel")
    EffectKind kind;
    AmountKind amountKind;
    double minimum; // the amount's range
    double maximum;
    double start; // the amount a slider opens at
    // The effect's one switch, if it has one: "interpolate" (the twirl's final, bilinear
    // render; its slider previews without) or "vertical" (the mirror turned for landscape).
    std::string_view option;
    // True when only the middle half of the columns and of the rows is written: the rest of
    // the destination keeps what it held, which must be the picture (a copy of the source).
    bool writesCentreOnly;
    std::string_view summary; // one line, for help texts
    Function function;

    bool hasAmount() const { return amountKind != AmountKind::None; }
    // The amount held to the range: a value past an end is that end, and for whole amounts the
    // fraction is dropped; not a number gives the start.
    double clampedAmount(double amount) const;
    // The amount a slider at `value` asks for: for whole amounts (int)(value + 0.5) in double,
    // truncated toward zero (0.4 gives 0, 0.5 gives 1, -0.6 gives 0, -1.6 gives -1); clamped.
    double amountFromSlider(float value) const;
    // The amount written as text: a number of the amount's kind (a float or an int) within the
    // range; nothing for anything else.
    std::optional<double> parseAmount(std::string_view text) const;
    // Runs the function with the amount clamped (the one place an amount meets the pixels).
    void apply(const EffectBuffers& buffers, double amount = 0, bool option = false) const;
};

// All effects, in the order a help text lists them.
std::span<const Effect> allEffects();
const Effect& effectFor(EffectId id);
// Null when no effect has that name.
const Effect* findEffect(std::string_view name);

} // namespace zorbel
