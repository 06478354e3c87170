#pragma once

#include <functional>

namespace zorbel {

// Runs body(first, last) over consecutive bands of rows [first, last) that together cover
// [begin, end), on the calling thread and up to effectThreadLimit() - 1 short-lived helper
// threads. Bands are handed out in turn, so a busy core takes fewer. The body must write only
// rows of its band: then the result does not depend on the number of threads.
void parallelRows(int begin, int end, const std::function<void(int first, int last)>& body);

// How many threads parallelRows may use: the machine's core count unless set. 1 runs everything
// on the calling thread; 0 restores the default.
int effectThreadLimit();
void setEffectThreadLimit(int threads);

} // namespace zorbel
