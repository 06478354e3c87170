#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

// Makes the pages of [data, data + bytes) resident and writable in one call
// to the kernel, where writing them for the first time would fault once for
// every 4 KB (a 6 MB photo's bytes are 1,500 faults, which on a virtual
// machine cost several milliseconds). Only a hint: where the kernel cannot,
// the pages come as they are written.
void prefaultForWriting(void* data, std::size_t bytes);

// `bytes` zero bytes whose pages are resident already.
std::vector<std::uint8_t> prefaultedBytes(std::size_t bytes);

} // namespace platform
