#include "interruptions.h"

#include <csignal>

namespace shell::interruptions {
namespace {

std::atomic<bool> requested{false};
volatile std::sig_atomic_t received = 0;

extern "C" void onRequest(int signal) {
    if (requested.load()) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    received = signal;
    requested.store(true);
    std::signal(signal, onRequest);
}

} // namespace

const std::atomic<bool>& catchThem() {
    std::signal(SIGINT, onRequest);
    std::signal(SIGTERM, onRequest);
    return requested;
}

void endIfRequested() {
    if (received == 0) {
        return;
    }
    std::signal(received, SIG_DFL);
    std::raise(received);
}

} // namespace shell::interruptions
