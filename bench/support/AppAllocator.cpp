// Every benchmark runs with the memory allocator set up as the app sets it at
// start (large pictures on pages of their own), so that a figure includes
// what fresh pages cost a frame that allocates.
#include "platform/foundation/Allocator.h"

namespace {

const bool kAllocatorLikeTheApp = platform::Allocator::keepLargeBlocksApart();

} // namespace
