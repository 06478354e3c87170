// One libFuzzer target: ZORBEL_FUZZ_ENTRY names its function of FuzzEntries.h.
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzz::ZORBEL_FUZZ_ENTRY(data, size);
}
