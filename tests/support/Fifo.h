#pragma once

#include <chrono>
#include <filesystem>
#include <future>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorbel::test {

// A FIFO at `path` (what a person may leave where a file belongs).
inline bool makeFifo(const std::filesystem::path& path) {
    return ::mkfifo(path.c_str(), 0644) == 0;
}

// Runs `call` on a thread of its own. A call still waiting on the FIFO after a
// few seconds is set free (a writer opens the FIFO and closes it again) and
// answered false, so a test of it fails instead of hanging.
template <class Call>
bool returnsWithoutBlocking(const std::filesystem::path& fifo, Call&& call) {
    auto done = std::async(std::launch::async, std::forward<Call>(call));
    if (done.wait_for(std::chrono::seconds(5)) == std::future_status::ready)
        return true;
    const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0)
        ::close(fd);
    done.wait();
    return false;
}

} // namespace zorbel::test
