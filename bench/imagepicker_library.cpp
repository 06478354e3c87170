// The photo library picker over 500 camera-sized JPEGs (4000 x 3000): the
// first screenful of thumbnails, each frame of a scroll through the whole
// grid, and the memory it takes. Drawn at two pixels a point.
//
//   first_screenful   from presenting the picker to every cell in view
//                     showing its thumbnail (the decodes run on two threads),
//                     for files as cameras write them and without their
//                     small EXIF picture
//   one_thumbnail     one file, with and without the camera's small picture
//   scroll_frame      one frame of scrolling: move 12 points, lay out, draw and
//                     compose the window; the counters give the slowest frame
//                     and the memory the picker holds after the whole scroll
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include <malloc.h>

#include "PhotoFiles.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Context.h"
#include "platform/imagepicker/ImagePickerController.h"
#include "platform/imagepicker/PhotoCellView.h"
#include "platform/imagepicker/PhotoGridView.h"
#include "platform/imagepicker/ThumbnailLoader.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Application.h"
#include "platform/ui/RunLoop.h"
#include "platform/ui/Window.h"

namespace {

using namespace platform;
using Clock = std::chrono::steady_clock;

constexpr int kPictures = 500;
constexpr float kScale = 2;

// As cameras write them (with their small EXIF picture), or without it.
zorbel::bench::PhotoFolder& folder(bool cameraThumbnails = true) {
    if (cameraThumbnails) {
        static zorbel::bench::PhotoFolder f(kPictures, true);
        return f;
    }
    static zorbel::bench::PhotoFolder f(kPictures, false);
    return f;
}

struct Scene {
    std::shared_ptr<Window> window;
    std::shared_ptr<ViewController> root;
    std::shared_ptr<ImagePickerController> picker;
    std::unique_ptr<Context> framebuffer;

    Scene() {
        setLogQuiet(true);
        Application::shared().resetForTesting();
        Animator::shared().reset();
        RunLoop::main().reset(ClockMode::Real);
        window = std::make_shared<Window>();
        window->setScale(kScale);
        window->makeKeyAndVisible();
        root = std::make_shared<ViewController>();
        window->addSubview(root->view());
        framebuffer = Context::createBitmap(int(320 * kScale), int(480 * kScale), nullptr,
                                            YAxis::Down);
    }
    ~Scene() {
        picker.reset();
        root.reset();
        Application::shared().resetForTesting();
        RunLoop::main().drain();
    }
    void present(bool cameraThumbnails = true) {
        picker = std::make_shared<ImagePickerController>();
        picker->setLibraryFolders({folder(cameraThumbnails).path()});
        root->presentModalViewController(picker, false);
        frame();
    }
    void frame() {
        RunLoop::main().runOnce(0);
        window->render(*framebuffer);
    }
    // Every cell whose frame is in view has its thumbnail.
    bool screenFilled() const {
        PhotoGridView* grid = picker->gridView();
        const Rect b = grid->bounds();
        for (std::size_t i : grid->visibleIndices()) {
            const Rect f = grid->cellFrame(i);
            if (f.maxY() > b.minY() && f.minY() < b.maxY() && !grid->cellForIndex(i)->thumbnail())
                return false;
        }
        return true;
    }
};

// One thumbnail alone: read, decode at an eighth, cut and scale (155 points
// at two pixels a point).
void BM_OneThumbnail(benchmark::State& state) {
    const bool exif = state.range(0) != 0;
    const auto file = folder(exif).path() / "IMG_1000.jpg";
    for (auto _ : state)
        benchmark::DoNotOptimize(ThumbnailLoader::makeThumbnail(file, 155));
    state.counters["file_MB"] = double(folder(exif).bytesPerPicture()) / (1 << 20);
}
BENCHMARK(BM_OneThumbnail)->ArgName("camera_thumbnail")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_FirstScreenful(benchmark::State& state) {
    const bool exif = state.range(0) != 0;
    (void)folder(exif);
    for (auto _ : state) {
        Scene scene;
        const auto start = Clock::now();
        scene.present(exif);
        while (!scene.screenFilled()) {
            RunLoop::main().runOnce(0.002);
            scene.frame();
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
}
BENCHMARK(BM_FirstScreenful)->ArgName("camera_thumbnails")->Arg(1)->Arg(0)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ScrollFrame(benchmark::State& state) {
    (void)folder();
    malloc_trim(0);
    const double before = zorbel::bench::residentMB("VmRSS:");
    Scene scene;
    scene.present();
    PhotoGridView* grid = scene.picker->gridView();
    const float bottom = grid->maximumContentOffset().y;
    float y = 0, step = 12;
    double slowest = 0;
    long frames = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        y = std::clamp(y + step, 0.0f, bottom);
        if (y == bottom || y == 0)
            step = -step;
        grid->setContentOffset({0, y});
        scene.frame();
        const double t = std::chrono::duration<double>(Clock::now() - start).count();
        slowest = std::max(slowest, t);
        ++frames;
        state.SetIterationTime(t);
        // A display's pace: the decoders get the rest of the frame.
        state.PauseTiming();
        const auto until = start + std::chrono::microseconds(16667);
        while (Clock::now() < until)
            RunLoop::main().runOnce(std::chrono::duration<double>(until - Clock::now()).count());
        state.ResumeTiming();
    }
    state.counters["slowest_ms"] = slowest * 1000;
    state.counters["frames"] = double(frames);
    state.counters["held_thumbnails"] = double(grid->loader()->thumbnailsHeld());
    // What the picker holds: resident memory after the scroll less before it.
    state.counters["picker_MB"] = zorbel::bench::residentMB("VmRSS:") - before;
    state.counters["rss_MB"] = zorbel::bench::residentMB("VmRSS:");
}
// Down the whole grid and back (about 3300 points each way).
BENCHMARK(BM_ScrollFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(600);

} // namespace
