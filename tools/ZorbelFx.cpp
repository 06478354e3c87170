// zorbel-fx but its process entry: applies the app's picture effects to picture files, and runs
// the stroke smoother's curve fitter on a list of points. The pictures go through the same
// buffer layout as on the canvas, so the result is byte for byte what the app shows.
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

#include "tools/ZorbelFx.h"

#include "effects/EffectRegistry.h"
#include "effects/FitCurves.h"
#include "platform/foundation/FileIO.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Image.h"

namespace {

constexpr int kUsageError = 2;

constexpr std::string_view kHelpStart = R"(Usage: zorbel-fx EFFECT [AMOUNT] [OPTION] INPUT OUTPUT
       zorbel-fx fitcurve ERROR < POINTS > CONTROL_POINTS

Applies one of Zorbel's picture effects to INPUT and writes the result to OUTPUT.

Effects:
)";

constexpr std::string_view kHelpEnd = R"(
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

std::string amountRange(const zorbel::Effect& effect) {
    char range[64];
    std::snprintf(range, sizeof range, "%s from %g to %g",
                  effect.amountKind == zorbel::AmountKind::Real ? "a number" : "an integer",
                  effect.minimum, effect.maximum);
    return range;
}

// `head` and then `text` in a column from kColumn on, broken between words before kWidth.
std::string wrapped(std::string head, const std::string& text) {
    constexpr std::size_t kColumn = 34;
    constexpr std::size_t kWidth = 92;
    std::string out;
    std::string line = head;
    line.resize(std::max(line.size() + 2, kColumn), ' ');
    std::size_t start = 0;
    bool first = true;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string word = text.substr(start, end - start);
        if (!first && line.size() + 1 + word.size() > kWidth) {
            out += line + "\n";
            line = std::string(kColumn, ' ');
            first = true;
        }
        line += (first ? "" : " ") + word;
        first = false;
        start = end + 1;
    }
    return out + line + "\n";
}

// The effects' part of the help, one entry per registry row.
std::string effectsHelp() {
    std::string out;
    for (const zorbel::Effect& effect : zorbel::allEffects()) {
        std::string usage = "  " + std::string(effect.name);
        if (effect.hasAmount())
            usage += " AMOUNT";
        if (!effect.option.empty())
            usage += " [--" + std::string(effect.option) + "]";
        std::string text(effect.summary);
        if (effect.hasAmount())
            text += "; AMOUNT is " + amountRange(effect);
        out += wrapped(usage, text);
    }
    return out;
}

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

// The canvas holds a picture bottom-up: buffer row 0 is the picture's last row.
std::vector<std::uint8_t> bottomUp(const std::vector<std::uint8_t>& upright, int width,
                                   int height) {
    const std::size_t rowBytes = std::size_t(width) * 4;
    std::vector<std::uint8_t> rows(upright.size());
    for (int row = 0; row < height; ++row)
        std::copy_n(&upright[std::size_t(height - 1 - row) * rowBytes], rowBytes,
                    &rows[std::size_t(row) * rowBytes]);
    return rows;
}

// Writes canvas rows (bottom-up) as a PNG file; the exit status.
int writePicture(const std::vector<std::uint8_t>& rows, int width, int height,
                 const std::filesystem::path& output) {
    auto png = platform::Image::encodePng(rows.data(), width, height, std::size_t(width) * 4, true);
    if (!png)
        return fail("cannot encode the result: " + png.error());
    auto written = platform::writeFileAtomically(output, *png);
    if (!written)
        return fail("cannot write " + inQuotes(output.string()) + ": " + written.error());
    return 0;
}

int runEffect(const zorbel::Effect& effect, const std::vector<std::string_view>& args) {
    std::vector<std::string_view> positional;
    bool option = false;
    for (std::string_view arg : args) {
        if (arg.size() > 2 && arg.substr(0, 2) == "--") {
            if (effect.option.empty() || arg.substr(2) != effect.option)
                return fail(inQuotes(arg) + " is not an option of " + std::string(effect.name) +
                            " (see zorbel-fx --help)");
            option = true;
        } else {
            positional.push_back(arg);
        }
    }
    const std::size_t expected = effect.hasAmount() ? 3 : 2;
    if (positional.size() != expected)
        return fail(std::string(effect.name) +
                    (expected == 3 ? " needs an amount, an input and an output"
                                   : " needs an input and an output") +
                    " (see zorbel-fx --help)");

    double amount = 0;
    if (effect.hasAmount()) {
        const std::optional<double> value = effect.parseAmount(positional[0]);
        if (!value)
            return fail(std::string(effect.name) + " amount must be " + amountRange(effect) +
                        ", not " + inQuotes(positional[0]));
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

    std::vector<std::uint8_t> src = bottomUp(upright, width, height);
    upright = {};
    // An effect that writes only the middle leaves the picture around it, as on the canvas.
    std::vector<std::uint8_t> dst =
        effect.writesCentreOnly ? src : std::vector<std::uint8_t>(src.size(), 0);
    effect.apply({src.data(), dst.data(), width, height}, amount, option);

    return writePicture(dst, width, height, output);
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

int runFitCurve(const std::vector<std::string_view>& args, std::istream& in, std::ostream& out) {
    if (args.size() != 1)
        return fail("fitcurve needs exactly one argument, the tolerance (see zorbel-fx --help)");
    auto error = parseNumber<double>(args[0]);
    if (!error || *error < 0)
        return fail("fitcurve tolerance must be a number of 0 or more, not " + inQuotes(args[0]));

    std::vector<zorbel::Point2> points;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
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

    std::vector<zorbel::Point2> controls(zorbel::kFitCurveMaxPoints);
    const int count =
        zorbel::FitCurveList2(points.data(), int(points.size()), *error, 0, controls.data());
    char pair[64];
    for (int i = 0; i < count; ++i) {
        std::snprintf(pair, sizeof pair, "%.17g %.17g\n", controls[std::size_t(i)].x,
                      controls[std::size_t(i)].y);
        out << pair;
    }
    return out.flush() ? 0 : fail("cannot write the control points");
}

} // namespace

int zorbelFx(const std::vector<std::string_view>& args, std::istream& in, std::ostream& out) {
    if (args.empty())
        return fail("no effect given (see zorbel-fx --help)");
    if (args[0] == "--help" || args[0] == "-h") {
        out << kHelpStart << effectsHelp() << kHelpEnd;
        return out.flush() ? 0 : kUsageError;
    }
    const std::vector<std::string_view> rest(args.begin() + 1, args.end());
    if (args[0] == "fitcurve")
        return runFitCurve(rest, in, out);
    if (const zorbel::Effect* effect = zorbel::findEffect(args[0]))
        return runEffect(*effect, rest);
    return fail("unknown effect " + inQuotes(args[0]) + " (see zorbel-fx --help)");
}
