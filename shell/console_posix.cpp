#include "console.h"
#include "system_reason.h"

#include <cerrno>
#include <unistd.h>

namespace shell::console {
namespace {

int descriptor(Stream stream) {
    switch (stream) {
    case Stream::Input:
        return STDIN_FILENO;
    case Stream::Output:
        return STDOUT_FILENO;
    case Stream::Error:
        return STDERR_FILENO;
    }
    return STDERR_FILENO;
}

} // namespace

std::vector<std::string> arguments(int argc, const char* const* argv) {
    return {argv, argv + argc};
}

void useBinaryMode() {}

bool isTerminal(Stream stream) {
    return ::isatty(descriptor(stream)) == 1;
}

std::ptrdiff_t read(char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, buffer, size);
        if (n >= 0) {
            return n;
        }
        if (errno != EINTR) {
            return -1;
        }
    }
}

bool write(Stream stream, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(descriptor(stream), data, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

std::string errorText() {
    return systemReason(errno);
}

} // namespace shell::console
