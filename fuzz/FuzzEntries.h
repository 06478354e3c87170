#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

// What each fuzz target does with one input: the libFuzzer targets
// (fuzz/target/FuzzTarget.cpp) and the replay of the committed corpora
// (tests/fuzz) call the same functions. Each answers 0; a fault shows as a
// sanitizer report or a crash.
namespace fuzz {

int pngLoader(const std::uint8_t* data, std::size_t size);
int jpegLoader(const std::uint8_t* data, std::size_t size);
int layerArchive(const std::uint8_t* data, std::size_t size);
int settingsReader(const std::uint8_t* data, std::size_t size);
int interfaceLoader(const std::uint8_t* data, std::size_t size);
int headlessScript(const std::uint8_t* data, std::size_t size);
int zorbelFxTool(const std::uint8_t* data, std::size_t size);

struct Entry {
    std::string_view name; // the target's name: fuzz_<name>, fuzz/corpus/<name>/
    int (*run)(const std::uint8_t* data, std::size_t size);
};

// Every target, in a fixed order.
std::span<const Entry> entries();

} // namespace fuzz
