// Writing and reading the layer archive with 20 layers (14 overlay pictures,
// 6 captions, each with its geometry keys), as at termination and launch:
// the whole file operation, and the coding alone.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/foundation/ArchiveFile.h"
#include "platform/foundation/CodableRegistry.h"
#include "platform/foundation/FileIO.h"
#include "platform/graphics/GeometryCoding.h"

using namespace platform;

namespace {

struct Overlay : Codable {
    std::string file = "tophat.overlay.png";
    Rect orgFrame{0, 0, 700, 300};
    Rect frame{-120.5f, 80.25f, 712.3f, 330.9f};
    Point center{160, 230};
    AffineTransform transform = AffineTransform::makeRotation(0.37f).scaled(1.3f, 1.3f);

    std::string className() const override { return "TouchImageView"; }
    void encodeWithCoder(KeyedArchiver& coder) const override {
        coder.encodeString(file, "ImageFileName");
        encodeRect(coder, orgFrame, "OrgFrame");
        encodeRect(coder, frame, "CurrentFrame");
        encodePoint(coder, center, "Center");
        encodeTransform(coder, transform, "OriginalTransform");
    }
    static Result<std::shared_ptr<Codable>> initWithCoder(KeyedUnarchiver& coder) {
        auto o = std::make_shared<Overlay>();
        o->file = coder.decodeString("ImageFileName");
        o->orgFrame = decodeRect(coder, "OrgFrame");
        o->center = decodePoint(coder, "Center");
        o->transform = decodeTransform(coder, "OriginalTransform");
        return std::shared_ptr<Codable>(o);
    }
};

struct Caption : Codable {
    std::string text = "Happy birthday, Grandma!";
    std::string fontName = "MarkerFelt-Thin";
    float fontSize = 60;
    Color color = Color::rgb(0.9f, 0.1f, 0.3f);
    float padW = 400, padH = 100;
    Rect orgFrame{0, 0, 870, 190};
    Point center{160, 230};
    AffineTransform transform = AffineTransform::makeRotation(1.5707964f);

    std::string className() const override { return "TextLayerView"; }
    void encodeWithCoder(KeyedArchiver& coder) const override {
        coder.encodeString(text, "TextString");
        coder.encodeString(fontName, "FontName");
        coder.encodeFloat(fontSize, "FontSize");
        encodeColor(coder, color, "FontColor");
        coder.encodeFloat(padW, "TextPaddingWidth");
        coder.encodeFloat(padH, "TextPaddingHeight");
        encodeRect(coder, orgFrame, "OrgFrame");
        encodeRect(coder, orgFrame, "CurrentFrame");
        encodePoint(coder, center, "Center");
        encodeTransform(coder, transform, "OriginalTransform");
    }
    static Result<std::shared_ptr<Codable>> initWithCoder(KeyedUnarchiver& coder) {
        auto c = std::make_shared<Caption>();
        c->text = coder.decodeString("TextString");
        c->fontName = coder.decodeString("FontName");
        c->fontSize = coder.decodeFloat("FontSize");
        c->color = decodeColor(coder, "FontColor");
        c->padW = coder.decodeFloat("TextPaddingWidth");
        c->padH = coder.decodeFloat("TextPaddingHeight");
        c->orgFrame = decodeRect(coder, "OrgFrame");
        c->center = decodePoint(coder, "Center");
        c->transform = decodeTransform(coder, "OriginalTransform");
        return std::shared_ptr<Codable>(c);
    }
};

struct Layers {
    std::vector<std::shared_ptr<Codable>> owned;
    std::vector<const Codable*> list;
    CodableRegistry classes;

    Layers() {
        for (int i = 0; i < 20; ++i) {
            std::shared_ptr<Codable> layer;
            if (i % 4 == 3) {
                auto c = std::make_shared<Caption>();
                c->center = {float(10 * i), float(7 * i)};
                layer = c;
            } else {
                auto o = std::make_shared<Overlay>();
                o->center = {float(13 * i), float(11 * i)};
                layer = o;
            }
            owned.push_back(layer);
            list.push_back(layer.get());
        }
        (void)classes.registerClass("TouchImageView", &Overlay::initWithCoder);
        (void)classes.registerClass("TextLayerView", &Caption::initWithCoder);
    }
};

std::filesystem::path archivePath() {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("zorbel-bench-archive-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    return dir / "Layers.archive";
}

// Encoding, the atomic write (with its flush to disk) and the rename.
void BM_WriteArchiveFile(benchmark::State& state) {
    Layers layers;
    const ArchiveFile file(archivePath());
    for (auto _ : state)
        if (!file.writeRootObjects(layers.list))
            state.SkipWithError("write failed");
    state.counters["bytes"] = double(std::filesystem::file_size(file.path()));
    std::filesystem::remove_all(file.path().parent_path());
}

// The same bytes through the atomic write alone: what the disk's flush costs,
// apart from the coding.
void BM_AtomicWriteOnly(benchmark::State& state) {
    Layers layers;
    const std::string text = *KeyedArchiver::archivedDataWithRootObjects(layers.list);
    const std::filesystem::path path = archivePath();
    for (auto _ : state)
        if (!writeFileAtomically(path, std::string_view(text)))
            state.SkipWithError("write failed");
    std::filesystem::remove_all(path.parent_path());
}

// Reading the file, parsing and building the 20 layers.
void BM_ReadArchiveFile(benchmark::State& state) {
    Layers layers;
    const ArchiveFile file(archivePath());
    if (!file.writeRootObjects(layers.list))
        state.SkipWithError("write failed");
    for (auto _ : state) {
        auto contents = file.readRootObjects(layers.classes);
        if (contents.objects.size() != 20)
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(contents);
    }
    std::filesystem::remove_all(file.path().parent_path());
}

void BM_EncodeArchive(benchmark::State& state) {
    Layers layers;
    for (auto _ : state) {
        auto text = KeyedArchiver::archivedDataWithRootObjects(layers.list);
        benchmark::DoNotOptimize(text);
    }
}

void BM_DecodeArchive(benchmark::State& state) {
    Layers layers;
    const std::string text = *KeyedArchiver::archivedDataWithRootObjects(layers.list);
    for (auto _ : state) {
        auto u = KeyedUnarchiver::unarchiverForReadingData(text, layers.classes);
        auto objects = u->decodeObjects(KeyedArchiver::rootKey);
        benchmark::DoNotOptimize(objects);
    }
}

} // namespace

BENCHMARK(BM_WriteArchiveFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AtomicWriteOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadArchiveFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeArchive)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeArchive)->Unit(benchmark::kMicrosecond);
