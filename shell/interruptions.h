#pragma once

#include <atomic>
#include <filesystem>

// Ctrl+C and termination requests (SIGINT, SIGTERM) for long work that must not leave half a
// file behind: instead of ending the program at once they raise a flag that the work polls, so
// that it can stop and clean up. A wait for input or output (a pipe, a FIFO that nobody opens)
// is broken off by the request, so that the work sees the flag there too. A second request
// ends the program at once, removing the files the work had registered. Free of Qt.
namespace shell::interruptions {

// Starts catching the requests; returns the flag they raise.
const std::atomic<bool>& catchThem();

// Called first in a thread that helps the work: the requests then reach the work's own
// thread, whose waits they must break off.
void leaveToOtherThreads();

// After the work has cleaned up: ends the program as the request would have (by the same
// signal, so that a shell sees it), if one came; returns otherwise.
void endIfRequested();

// A file being written, for as long as this object lives: a second request that ends the
// program at once removes it first. Outside a program that catches requests it does nothing.
class Leftover {
public:
    explicit Leftover(const std::filesystem::path& path);
    ~Leftover();
    Leftover(const Leftover&) = delete;
    Leftover& operator=(const Leftover&) = delete;

private:
    int slot_ = -1;
};

} // namespace shell::interruptions
