// The layer stack in the running application:
// - flattening ten overlay pictures into the painting (target: under 20 ms);
// - writing and reading the archive of twenty layers, ten pictures and ten
//   captions (target: under 5 ms each);
// - launch to the first frame with those twenty layers in the archive
//   (target: under 50 ms).

#include <benchmark/benchmark.h>

#include "AppBenchSupport.h"
#include "app/CanvoViewController.h"
#include "layers/LayerStack.h"
#include "layers/TextLayerView.h"
#include "layers/TouchImageView.h"
#include "platform/foundation/ArchiveFile.h"

namespace {

using zorbel::CanvoAppDelegate;
using zorbel::LayerStack;

// Pictures spread over the canvas, each turned and scaled a little.
void addPictures(CanvoAppDelegate& app, int count) {
    const auto names = app.initShapeNames();
    for (int i = 0; i < count; ++i) {
        app.canvoViewController()->AddShape(names[std::size_t(i * 7) % names.size()]);
        auto layer = app.lastMovedTouchImageView();
        layer->setCenter({40.0f + float(i % 5) * 60, 80.0f + float(i / 5) * 150});
        const auto t = platform::AffineTransform::makeRotation(0.1f * float(i)).scaled(0.5f, 0.5f);
        layer->setOriginalTransform(t);
        layer->setTransform(t);
    }
}

void addCaptions(CanvoAppDelegate& app, int count) {
    for (int i = 0; i < count; ++i) {
        auto caption = std::make_shared<zorbel::TextLayerView>(platform::Rect(0, 0, 480, 170));
        caption->setTextString("Caption " + std::to_string(i));
        caption->setFontName("Helvetica-Bold");
        caption->setFontSize(60);
        caption->setCenter({160, 40.0f + float(i) * 40});
        app.addTextLayer(std::move(caption));
    }
}

void BM_FlattenTenLayers(benchmark::State& state) {
    zorbel::bench::AppBench bench;
    bench.launch();
    CanvoAppDelegate& app = bench.app();
    for (auto _ : state) {
        state.PauseTiming();
        addPictures(app, 10);
        state.ResumeTiming();
        app.flattenImage();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FlattenTenLayers)->Unit(benchmark::kMillisecond);

void BM_ArchiveWriteTwentyLayers(benchmark::State& state) {
    zorbel::bench::AppBench bench;
    bench.launch();
    CanvoAppDelegate& app = bench.app();
    addPictures(app, 10);
    addCaptions(app, 10);
    for (auto _ : state)
        benchmark::DoNotOptimize(app.saveLayers());
}
BENCHMARK(BM_ArchiveWriteTwentyLayers)->Unit(benchmark::kMillisecond);

void BM_ArchiveReadTwentyLayers(benchmark::State& state) {
    zorbel::bench::AppBench bench;
    bench.launch();
    CanvoAppDelegate& app = bench.app();
    addPictures(app, 10);
    addCaptions(app, 10);
    (void)app.saveLayers();
    const platform::ArchiveFile file(app.layerArchive().path());
    for (auto _ : state) {
        auto canvas = std::make_shared<platform::View>(platform::Rect(0, 0, 320, 480));
        benchmark::DoNotOptimize(LayerStack::readLayers(*canvas, file));
        state.PauseTiming();
        canvas.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ArchiveReadTwentyLayers)->Unit(benchmark::kMillisecond);

void BM_LaunchToFirstFrameWithTwentyLayers(benchmark::State& state) {
    zorbel::bench::AppBench bench;
    bench.launch();
    addPictures(bench.app(), 10);
    addCaptions(bench.app(), 10);
    bench.terminate();
    for (auto _ : state) {
        bench.launch();
        bench.renderFirstFrame();
        state.PauseTiming();
        if (bench.app().getThePaintingView()->subviews().size() != 20)
            state.SkipWithError("the layers were not restored");
        bench.shutDown();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LaunchToFirstFrameWithTwentyLayers)->Unit(benchmark::kMillisecond);

} // namespace
