// Choosing a 4000 x 3000 JPEG in the photo library picker to the new document
// on screen: the picture decoded (at the reduced scale the picker asks for),
// the editing square's Choose, the new background and original, and the
// window drawn with the canvas showing it.
#include <benchmark/benchmark.h>

#include "AppBenchSupport.h"
#include "PhotoFiles.h"
#include "app/NewImageChoice.h"
#include "app/NewMasterViewController.h"
#include "platform/imagepicker/ImagePickerController.h"
#include "platform/ui/PhotoAlbum.h"

namespace {

using namespace zorbel;

void BM_ChoosePhotoToDocument(benchmark::State& state) {
    bench::AppBench bench;
    bench.launch();
    const auto jpeg = bench::cameraJpeg(4000, 3000, 3);
    std::ofstream(platform::PhotoAlbum::directory() / "IMG_0001.jpg", std::ios::binary)
        .write(reinterpret_cast<const char*>(jpeg.data()), std::streamsize(jpeg.size()));
    CanvoAppDelegate& app = bench.app();
    for (auto _ : state) {
        state.PauseTiming();
        app.newMasterViewController()->doAddImage();
        platform::RunLoop::main().settle();
        auto* screen = dynamic_cast<NewImageChoice*>(app.newMasterViewController()->modalViewController());
        screen->getPhoto(nullptr);
        platform::RunLoop::main().drain();
        platform::RunLoop::main().settle();
        auto* picker = dynamic_cast<platform::ImagePickerController*>(screen->modalViewController());
        bench.renderFirstFrame();
        state.ResumeTiming();

        picker->chooseEntry(0);
        picker->choose(nullptr);
        bench.renderFirstFrame();

        state.PauseTiming();
        platform::RunLoop::main().settle();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ChoosePhotoToDocument)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
