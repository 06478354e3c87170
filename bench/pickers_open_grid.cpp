// Opening the shape picker (78 thumbnails) and the colour-brush picker (43
// pictures) to their first frame: the picker is made, its interface file
// loaded, its buttons built and the window composed. "Cold" is the first
// opening in the process, with every picture still to be read from its file;
// the others find the pictures already loaded. Scale 1 and 2.
#include <benchmark/benchmark.h>

#include "PickerBenchSupport.h"
#include "pickers/ColorBrushSelectionViewController.h"
#include "pickers/ShapeSelectionViewController.h"

namespace {

using namespace zorbel;
using zorbel::bench::PickerScreen;

template <class Picker>
void openToFirstFrame(benchmark::State& state, const std::vector<std::string>& names) {
    PickerScreen screen(float(state.range(0)));
    for (auto _ : state) {
        auto picker = std::make_shared<Picker>(screen.delegate, names);
        screen.presenter->presentModalViewController(picker, false);
        benchmark::DoNotOptimize(screen.window->render(*screen.framebuffer));
        state.PauseTiming();
        screen.presenter->dismissModalViewControllerAnimated(false);
        screen.window->render(*screen.framebuffer);
        state.ResumeTiming();
    }
}

void BM_OpenShapePickerCold(benchmark::State& state) {
    openToFirstFrame<ShapeSelectionViewController>(state, bench::shapeCatalogue());
}
void BM_OpenColorBrushPickerCold(benchmark::State& state) {
    openToFirstFrame<ColorBrushSelectionViewController>(state, bench::colorBrushCatalogue());
}
void BM_OpenShapePicker(benchmark::State& state) {
    openToFirstFrame<ShapeSelectionViewController>(state, bench::shapeCatalogue());
}
void BM_OpenColorBrushPicker(benchmark::State& state) {
    openToFirstFrame<ColorBrushSelectionViewController>(state, bench::colorBrushCatalogue());
}

} // namespace

// Registered first and run once, so they find no picture loaded yet.
BENCHMARK(BM_OpenShapePickerCold)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenColorBrushPickerCold)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenShapePicker)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenColorBrushPicker)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
