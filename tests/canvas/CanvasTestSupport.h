#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

#include "FakePaintingViewDelegate.h"
#include "canvas/CloneCopy.h"
#include "canvas/PaintingView.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/graphics/Image.h"

namespace zorbel::testing {

struct Pixel {
    std::uint8_t a, r, g, b;
};

// A picture in the canvas format whose pixel (x, y) (top row first) is f(x, y).
inline platform::ImageRef makePicture(int width, int height,
                                      const std::function<Pixel(int, int)>& f) {
    std::vector<std::uint8_t> bytes(std::size_t(width) * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Pixel p = f(x, y);
            std::uint8_t* d = &bytes[(std::size_t(y) * width + x) * 4];
            d[0] = p.a;
            d[1] = p.r;
            d[2] = p.g;
            d[3] = p.b;
        }
    return platform::Image::create(width, height, std::move(bytes)).value();
}

inline platform::ImageRef solidPicture(int width, int height, Pixel p) {
    return makePicture(width, height, [p](int, int) { return p; });
}

// The canvas pixel shown at screen point (x, y).
inline ARGBColorBytes screenPixel(const PaintingView& view, int x, int y) {
    return view.getPixelValueAt(x, PaintingView::kCanvasHeight - 1 - y);
}

inline std::vector<std::uint8_t> bytesOf(const std::uint8_t* data, std::size_t count) {
    return data ? std::vector<std::uint8_t>(data, data + count) : std::vector<std::uint8_t>{};
}

inline bool logHas(std::string_view line) {
    const auto lines = platform::logLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Index of the first log line equal to `line` at or after `from`, or -1.
inline int logIndexOf(std::string_view line, int from = 0) {
    const auto lines = platform::logLines();
    for (int i = std::max(from, 0); i < int(lines.size()); ++i)
        if (lines[std::size_t(i)] == line)
            return i;
    return -1;
}

// Every canvas test runs with its own Documents folder and delegate, and a
// quiet log whose lines it can read.
class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override {
        static std::atomic<int> counter{0};
        const char* base = std::getenv("ZORBEL_TEST_TMP");
        home_ = std::filesystem::path(base ? base : "/tmp") /
                ("canvas-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::remove_all(home_);
        std::filesystem::create_directories(home_);
        platform::Paths::setHome(home_);
        platform::setLogQuiet(true);
        platform::clearLogCapture();
    }

    void TearDown() override {
        platform::Paths::setHome({});
        platform::setLogQuiet(false);
        std::error_code ignored;
        std::filesystem::remove_all(home_, ignored);
    }

    std::filesystem::path documents() const { return platform::Paths::documentsDirectory(); }

    std::shared_ptr<PaintingView> makeCanvas() { return PaintingView::create(&delegate_).value(); }

    // A square brush picture of one colour (opaque black by default).
    static platform::ImageRef squareBrush(int size, Pixel p = {255, 0, 0, 0}) {
        return solidPicture(size, size, p);
    }

    std::filesystem::path home_;
    FakePaintingViewDelegate delegate_;
};

} // namespace zorbel::testing
