#include "interruptions.h"

#include <array>
#include <csignal>
#include <cstdio>

#ifdef _WIN32
#include <cwchar>
#else
#include <pthread.h>
#include <unistd.h>
#endif

namespace shell::interruptions {
namespace {

std::atomic<bool> requested{false};
volatile std::sig_atomic_t received = 0;

// The files to remove, as the handler can read them: fixed slots, claimed and released
// atomically, with the path's native characters.
constexpr std::size_t kSlots = 8;
constexpr std::size_t kPathLength = 4096;
using Native = std::filesystem::path::value_type;
std::array<std::atomic<bool>, kSlots> claimed{};
std::array<std::atomic<bool>, kSlots> ready{};
std::array<std::array<Native, kPathLength>, kSlots> paths{};

void removeLeftovers() {
    for (std::size_t i = 0; i < kSlots; ++i) {
        if (ready[i].load()) {
#ifdef _WIN32
            _wunlink(paths[i].data());
#else
            ::unlink(paths[i].data());
#endif
        }
    }
}

extern "C" void onRequest(int signal) {
    if (requested.load()) {
        removeLeftovers();
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    received = signal;
    requested.store(true);
#ifdef _WIN32
    std::signal(signal, onRequest);
#endif
}

void install(int signal) {
#ifdef _WIN32
    std::signal(signal, onRequest);
#else
    // Without SA_RESTART: a read or an open that waits is broken off (EINTR), and the work
    // that waited sees the flag.
    struct sigaction action {};
    action.sa_handler = onRequest;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    sigaction(signal, &action, nullptr);
#endif
}

} // namespace

const std::atomic<bool>& catchThem() {
    install(SIGINT);
    install(SIGTERM);
    return requested;
}

void leaveToOtherThreads() {
#ifndef _WIN32
    // A request goes to any thread that does not block it.
    sigset_t requests;
    sigemptyset(&requests);
    sigaddset(&requests, SIGINT);
    sigaddset(&requests, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &requests, nullptr);
#endif
}

void endIfRequested() {
    if (received == 0) {
        return;
    }
    std::signal(received, SIG_DFL);
    std::raise(received);
}

Leftover::Leftover(const std::filesystem::path& path) {
    const auto& native = path.native();
    if (native.size() >= kPathLength) {
        return;
    }
    for (std::size_t i = 0; i < kSlots; ++i) {
        bool free = false;
        if (claimed[i].compare_exchange_strong(free, true)) {
            std::copy(native.begin(), native.end(), paths[i].begin());
            paths[i][native.size()] = Native();
            ready[i].store(true);
            slot_ = static_cast<int>(i);
            return;
        }
    }
}

Leftover::~Leftover() {
    if (slot_ >= 0) {
        ready[slot_].store(false);
        claimed[slot_].store(false);
    }
}

} // namespace shell::interruptions
