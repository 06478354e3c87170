// What a launch spends before its first face: starting fontconfig (reading
// its configuration and caches, as FcInit does, and as the app does), against taking the answers
// kept from the last launch (reading them and checking that the files and
// folders they rest on are unchanged).

#include <filesystem>
#include <vector>

#include <benchmark/benchmark.h>
#include <fontconfig/fontconfig.h>

#include "platform/ui/FontAnswers.h"
#include "platform/ui/FontFaces.h"

using namespace platform::detail;
namespace fs = std::filesystem;

namespace {

void BM_FontconfigStart(benchmark::State& state) {
    for (auto _ : state) {
        FcConfig* config = FcInitLoadConfigAndFonts();
        benchmark::DoNotOptimize(config);
        FcConfigDestroy(config);
    }
}
BENCHMARK(BM_FontconfigStart)->Unit(benchmark::kMillisecond);

// The same configuration, without the templates FcInit reads only to list.
void BM_FontconfigStartWithoutTemplates(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(startFontconfig());
    FcFini();
}
BENCHMARK(BM_FontconfigStartWithoutTemplates)->Unit(benchmark::kMillisecond);

// The two interface faces, as a launch asks for them.
void BM_KeptFontAnswers(benchmark::State& state) {
    FcInit();
    const fs::path file = fs::temp_directory_path() / "zorbel-bench-font-answers.json";
    fs::remove(file);
    const auto sources = fontconfigSources();
    auto fake = [](const FaceQuery& q, bool, FoundFace& out) {
        out = FoundFace{"/usr/share/fonts/" + q.family + ".ttf", 0, q.family, "Regular"};
        return true;
    };
    {
        FontAnswers first(file, fake, [&] { return sources; });
        FoundFace face;
        (void)first.match({"Liberation Sans", -1, -1}, true, face);
        (void)first.match({"Liberation Sans", 200, -1}, true, face);
    }
    int asked = 0;
    for (auto _ : state) {
        FontAnswers kept(
            file, [&](const FaceQuery&, bool, FoundFace&) { return ++asked, false; },
            [&] { return sources; });
        FoundFace regular, bold;
        benchmark::DoNotOptimize(kept.match({"Liberation Sans", -1, -1}, true, regular));
        benchmark::DoNotOptimize(kept.match({"Liberation Sans", 200, -1}, true, bold));
    }
    if (asked != 0)
        state.SkipWithError("the kept answers were not taken");
    state.counters["sources"] = double(sources.size());
    fs::remove(file);
}
BENCHMARK(BM_KeptFontAnswers)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
