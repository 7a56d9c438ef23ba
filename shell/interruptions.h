#pragma once

#include <atomic>

// Ctrl+C and termination requests (SIGINT, SIGTERM) for long work that must not leave half a
// file behind: instead of ending the program at once they raise a flag that the work polls, so
// that it can stop and clean up. A second request ends the program at once. Free of Qt.
namespace shell::interruptions {

// Starts catching the requests; returns the flag they raise.
const std::atomic<bool>& catchThem();

// After the work has cleaned up: ends the program as the request would have (by the same
// signal, so that a shell sees it), if one came; returns otherwise.
void endIfRequested();

} // namespace shell::interruptions
