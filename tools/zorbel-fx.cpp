// zorbel-fx: applies the app's picture effects to picture files, and runs the stroke smoother's
// curve fitter on a list of points. The pictures go through the same buffer layout as on the
// canvas, so the result is byte for byte what the app shows.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <type_traits>
#include <vector>

#include "effects/BulgeImageBitmap.h"
#include "effects/ContrastLUT.h"
#include "effects/DentImageBitmap.h"
#include "effects/FisheyeImageBitmap.h"
#include "effects/FitCurves.h"
#include "effects/GrayLUTImageBitmap.h"
#include "effects/GrayScaleImageBitmap.h"
#include "effects/LightTunnelImageBitmap.h"
#include "effects/MirrorImageBitmap.h"
#include "effects/SingleChannelLUT.h"
#include "effects/SqueezeImage2.h"
#include "effects/TwirlImage3.h"
#include "platform/foundation/FileIO.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Image.h"

namespace {

constexpr int kUsageError = 2;

constexpr std::string_view kHelp = R"(Usage: zorbel-fx EFFECT [AMOUNT] [OPTION] INPUT OUTPUT
       zorbel-fx fitcurve ERROR < POINTS > CONTROL_POINTS

Applies one of Zorbel's picture effects to INPUT and writes the result to OUTPUT.

Effects:
  bulge | dent | fisheye | lighttunnel | squeeze    (no amount)
  twirl AMOUNT [--interpolate]    turn about the centre by 2 x AMOUNT radians, AMOUNT from
                                  -2 to 2; nearest-pixel (the slider preview) unless
                                  --interpolate (the final render)
  grayscale | sepia               (no amount)
  mirror [--vertical]             the right half mirrored onto the left; with --vertical
                                  the top half mirrored onto the bottom
  brightness AMOUNT               an integer from -255 to 255
  contrast AMOUNT                 an integer from -100 to 100

INPUT is a PNG or JPEG picture of any size from 2 x 2 pixels up (its EXIF orientation is
applied). It is converted to the canvas's pixel format (premultiplied alpha, red, green,
blue) and held bottom-up as the canvas holds it, so the result is what the app shows for
the same picture. INPUT must be a regular file (a FIFO or a device is refused). OUTPUT is
written as PNG, upright, whatever its name; it is replaced only once the whole file is
written. An OUTPUT that is a symbolic link has the file it names replaced; one that exists
and is not a regular file (a folder, a FIFO, a device) is refused and left as it is.

fitcurve fits cubic Bezier segments to a stroke, as the app's smoothing does. ERROR is the
tolerance in square pixels (the app's default is 20). Standard input holds one "x y" pair of
decimal numbers per line, 2 to 1000 points. Standard output gets one "x y" line per control
point, four per segment, with 17 significant digits; at most 1000 control points (250
segments), as in the app.

Bad arguments, an amount out of range, an unreadable or damaged input or an unwritable
output give a one-line message on standard error and exit status 2; no output file is left
behind then.
)";

int fail(const std::string& message) {
    std::cerr << "zorbel-fx: " << message << "\n";
    return kUsageError;
}

std::string inQuotes(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

template <class Number>
std::optional<Number> parseNumber(std::string_view text) {
    Number value{};
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    if constexpr (std::is_floating_point_v<Number>) {
        if (!std::isfinite(value))
            return std::nullopt;
    }
    return value;
}

struct Effect {
    std::string_view name;
    enum class Amount { None, Float, Integer } amount = Amount::None;
    double minimum = 0;
    double maximum = 0;
    std::string_view option; // the one option it takes, if any
};

const Effect kEffects[] = {
    {"bulge"},
    {"dent"},
    {"fisheye"},
    {"lighttunnel"},
    {"squeeze"},
    {"twirl", Effect::Amount::Float, -2, 2, "--interpolate"},
    {"grayscale"},
    {"sepia"},
    {"mirror", Effect::Amount::None, 0, 0, "--vertical"},
    {"brightness", Effect::Amount::Integer, -255, 255},
    {"contrast", Effect::Amount::Integer, -100, 100},
};

// The stored pixels turned upright by the picture's orientation, top row first.
std::vector<std::uint8_t> uprightPixels(const platform::Image& image, int& width, int& height) {
    const int w = image.width();
    const int h = image.height();
    const platform::PictureOrientation orientation = image.pictureOrientation();
    width = platform::turnsAQuarter(orientation) ? h : w;
    height = platform::turnsAQuarter(orientation) ? w : h;
    if (orientation == platform::PictureOrientation::Up)
        return std::vector<std::uint8_t>(image.bytes().begin(), image.bytes().end());
    std::vector<std::uint8_t> out(std::size_t(width) * std::size_t(height) * 4);
    for (int Y = 0; Y < height; ++Y)
        for (int X = 0; X < width; ++X) {
            const platform::PixelPosition from =
                platform::storedPixelForSeen(orientation, w, h, X, Y);
            const std::uint8_t* pixel =
                image.data() + (std::size_t(from.y) * std::size_t(w) + std::size_t(from.x)) * 4;
            std::copy(pixel, pixel + 4,
                      &out[(std::size_t(Y) * std::size_t(width) + std::size_t(X)) * 4]);
        }
    return out;
}

void applyEffect(std::string_view name, double amount, bool option, const std::uint8_t* src,
                 std::uint8_t* dst, int width, int height) {
    if (name == "bulge") {
        zorbel::bulgeImageBitmap(src, dst, width, height);
    } else if (name == "dent") {
        zorbel::dentImageBitmap(src, dst, width, height);
    } else if (name == "fisheye") {
        zorbel::fisheyeImageBitmap(src, dst, width, height);
    } else if (name == "lighttunnel") {
        zorbel::lightTunnelImageBitmap(src, dst, width, height);
    } else if (name == "squeeze") {
        zorbel::squeezeImage2(src, dst, width, height);
    } else if (name == "twirl") {
        zorbel::twirlImage3(src, dst, width, height, float(amount), option);
    } else if (name == "grayscale") {
        zorbel::grayScaleImageBitmap(src, dst, width, height);
    } else if (name == "sepia") {
        zorbel::ColorLUT table{};
        zorbel::createSepiaLUT(table);
        zorbel::grayLUTImageBitmap(src, dst, width, height, table);
    } else if (name == "mirror") {
        zorbel::mirrorImageBitmap(src, dst, width, height, option);
    } else if (name == "brightness") {
        zorbel::SingleChannelLUT table{};
        zorbel::createBrightnessLUT(table, int(amount));
        zorbel::applySingleChannelLUTRaw(src, dst, width, height, table);
    } else if (name == "contrast") {
        zorbel::SingleChannelLUT table{};
        zorbel::createIdentityLUT(table);
        zorbel::createNewContrastLUT(table, int(amount));
        zorbel::applySingleChannelLUTRaw(src, dst, width, height, table);
    }
}

int runEffect(const Effect& effect, const std::vector<std::string_view>& args) {
    std::vector<std::string_view> positional;
    bool option = false;
    for (std::string_view arg : args) {
        if (arg.size() > 2 && arg.substr(0, 2) == "--") {
            if (arg != effect.option)
                return fail(inQuotes(arg) + " is not an option of " + std::string(effect.name) +
                            " (see zorbel-fx --help)");
            option = true;
        } else {
            positional.push_back(arg);
        }
    }
    const std::size_t expected = effect.amount == Effect::Amount::None ? 2 : 3;
    if (positional.size() != expected)
        return fail(std::string(effect.name) +
                    (expected == 3 ? " needs an amount, an input and an output"
                                   : " needs an input and an output") +
                    " (see zorbel-fx --help)");

    double amount = 0;
    if (effect.amount != Effect::Amount::None) {
        std::optional<double> value;
        if (effect.amount == Effect::Amount::Float) {
            if (auto f = parseNumber<float>(positional[0]))
                value = *f;
        } else if (auto i = parseNumber<int>(positional[0])) {
            value = *i;
        }
        if (!value || *value < effect.minimum || *value > effect.maximum) {
            char range[64];
            std::snprintf(range, sizeof range, "%s from %g to %g",
                          effect.amount == Effect::Amount::Float ? "a number" : "an integer",
                          effect.minimum, effect.maximum);
            return fail(std::string(effect.name) + " amount must be " + range + ", not " +
                        inQuotes(positional[0]));
        }
        amount = *value;
    }
    const std::filesystem::path input(positional[expected - 2]);
    const std::filesystem::path output(positional[expected - 1]);

    auto image = platform::Image::load(input);
    if (!image)
        return fail("cannot read the picture " + inQuotes(input.string()) + ": " + image.error());
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> upright = uprightPixels(**image, width, height);
    image->reset(); // a large picture is held three times otherwise
    if (width < 2 || height < 2)
        return fail("the picture " + inQuotes(input.string()) + " is " + std::to_string(width) +
                    " x " + std::to_string(height) + " pixels; it must be at least 2 x 2");

    // The canvas holds a picture bottom-up: buffer row 0 is the picture's last row.
    const std::size_t rowBytes = std::size_t(width) * 4;
    std::vector<std::uint8_t> src(upright.size());
    for (int row = 0; row < height; ++row)
        std::copy_n(&upright[std::size_t(height - 1 - row) * rowBytes], rowBytes,
                    &src[std::size_t(row) * rowBytes]);
    upright = {};
    // The twirl writes only its central rectangle; around it the canvas keeps the picture.
    std::vector<std::uint8_t> dst =
        effect.name == "twirl" ? src : std::vector<std::uint8_t>(src.size(), 0);
    applyEffect(effect.name, amount, option, src.data(), dst.data(), width, height);

    auto png = platform::Image::encodePng(dst.data(), width, height, rowBytes, true);
    if (!png)
        return fail("cannot encode the result: " + png.error());
    auto written = platform::writeFileAtomically(output, *png);
    if (!written)
        return fail("cannot write " + inQuotes(output.string()) + ": " + written.error());
    return 0;
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

int runFitCurve(const std::vector<std::string_view>& args) {
    if (args.size() != 1)
        return fail("fitcurve needs exactly one argument, the tolerance (see zorbel-fx --help)");
    auto error = parseNumber<double>(args[0]);
    if (!error || *error < 0)
        return fail("fitcurve tolerance must be a number of 0 or more, not " + inQuotes(args[0]));

    std::vector<zorbel::Point2> points;
    std::string line;
    for (int number = 1; std::getline(std::cin, line); ++number) {
        std::string_view text = trimmed(line);
        if (text.empty())
            continue;
        const auto gap = text.find_first_of(" \t");
        std::optional<double> x;
        std::optional<double> y;
        if (gap != std::string_view::npos) {
            x = parseNumber<double>(text.substr(0, gap));
            y = parseNumber<double>(trimmed(text.substr(gap)));
        }
        if (!x || !y)
            return fail("line " + std::to_string(number) +
                        " is not an \"x y\" pair of numbers: " + inQuotes(text));
        if (points.size() == std::size_t(zorbel::kFitCurveMaxPoints))
            return fail("more than " + std::to_string(zorbel::kFitCurveMaxPoints) +
                        " points (the fitter's limit)");
        points.push_back({*x, *y});
    }
    if (points.size() < 2)
        return fail("fitcurve needs at least 2 points, got " + std::to_string(points.size()));

    std::vector<zorbel::Point2> out(zorbel::kFitCurveMaxPoints);
    const int count =
        zorbel::FitCurveList2(points.data(), int(points.size()), *error, 0, out.data());
    for (int i = 0; i < count; ++i)
        std::printf("%.17g %.17g\n", out[std::size_t(i)].x, out[std::size_t(i)].y);
    return std::fflush(stdout) == 0 ? 0 : fail("cannot write the control points");
}

} // namespace

int main(int argc, char** argv) {
    // Failures are reported here in one line each; the platform's log stays quiet.
    platform::setLogQuiet(true);
    std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.empty())
        return fail("no effect given (see zorbel-fx --help)");
    if (args[0] == "--help" || args[0] == "-h") {
        std::cout << kHelp;
        return 0;
    }
    const std::vector<std::string_view> rest(args.begin() + 1, args.end());
    if (args[0] == "fitcurve")
        return runFitCurve(rest);
    for (const Effect& effect : kEffects)
        if (args[0] == effect.name)
            return runEffect(effect, rest);
    return fail("unknown effect " + inQuotes(args[0]) + " (see zorbel-fx --help)");
}
