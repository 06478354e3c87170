// A 4000 x 3000 camera JPEG turned by its EXIF orientation (6, a quarter
// clockwise), named on the command line: the picture the new document takes
// (DocumentOpener::loadPicture: read, decoded at a quarter, turned upright,
// reduced to the canvas's size), made on the launch's decoding thread, and
// each of its steps alone. The file is in the page cache, as a photo just
// copied or opened before is.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "PhotoFiles.h"
#include "app/DocumentOpener.h"
#include "canvas/DocumentPictures.h"
#include "platform/imagepicker/ImagePickerController.h"

namespace {

using namespace zorbel;

// The photo's file, written once and removed at exit: an EXIF block holding
// only the orientation right after the start marker, as a camera writes it.
struct PhotoFile {
    std::filesystem::path path;
    ~PhotoFile() {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
};

const std::filesystem::path& photoFile() {
    static const PhotoFile file{[] {
        const auto jpeg = bench::cameraJpeg(4000, 3000, 5);
        const unsigned char exif[] = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0,
                                      0x12, 0x01, 3, 0, 1, 0, 0, 0, 6, 0, 0, 0, 0, 0, 0, 0};
        const std::size_t length = sizeof exif + 2;
        const auto file = std::filesystem::temp_directory_path() /
                          ("zorbel-open-photo-" + std::to_string(::getpid()) + ".jpg");
        std::ofstream out(file, std::ios::binary);
        const unsigned char start[] = {0xFF, 0xD8, 0xFF, 0xE1, std::uint8_t(length >> 8),
                                       std::uint8_t(length & 0xFF)};
        out.write(reinterpret_cast<const char*>(start), sizeof start);
        out.write(reinterpret_cast<const char*>(exif), sizeof exif);
        out.write(reinterpret_cast<const char*>(jpeg.data()) + 2, std::streamsize(jpeg.size() - 2));
        return file;
    }()};
    return file.path;
}

platform::ImageRef decoded() {
    return platform::ImagePickerController::loadPicture(photoFile()).value();
}

void BM_DocumentPicture(benchmark::State& state) {
    const auto& file = photoFile();
    for (auto _ : state) {
        auto picture = DocumentOpener::loadPicture(file);
        benchmark::DoNotOptimize(picture.value()->data());
    }
}
BENCHMARK(BM_DocumentPicture)->Unit(benchmark::kMillisecond);

void BM_ReadAndDecodeAtAQuarter(benchmark::State& state) {
    const auto& file = photoFile();
    for (auto _ : state) {
        auto picture = platform::ImagePickerController::loadPicture(file);
        benchmark::DoNotOptimize(picture.value()->data());
    }
}
BENCHMARK(BM_ReadAndDecodeAtAQuarter)->Unit(benchmark::kMillisecond);

void BM_TurnUpright(benchmark::State& state) {
    const platform::ImageRef stored = decoded();
    for (auto _ : state) {
        auto upright = platform::ImagePickerController::uprightImage(stored);
        benchmark::DoNotOptimize(upright->data());
    }
}
BENCHMARK(BM_TurnUpright)->Unit(benchmark::kMillisecond);

void BM_ReduceForTheCanvas(benchmark::State& state) {
    const platform::ImageRef upright = platform::ImagePickerController::uprightImage(decoded());
    for (auto _ : state) {
        auto reduced = DocumentPictures::scaleAndRotateImage(upright);
        benchmark::DoNotOptimize(reduced->data());
    }
}
BENCHMARK(BM_ReduceForTheCanvas)->Unit(benchmark::kMillisecond);

} // namespace
