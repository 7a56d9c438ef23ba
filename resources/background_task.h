#pragma once

#include <future>
#include <system_error>

namespace look {

// Runs the work on a thread of its own; with no thread to spare, runs it at once on this one.
template <typename Work> std::future<void> runInBackground(Work work) {
    try {
        return std::async(std::launch::async, work);
    } catch (const std::system_error&) {
        work();
        std::promise<void> done;
        done.set_value();
        return done.get_future();
    }
}

} // namespace look
