#include "console.h"
#include "system_reason.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace shell::console {
namespace {

int descriptor(Stream stream) {
    switch (stream) {
    case Stream::Input:
        return _fileno(stdin);
    case Stream::Output:
        return _fileno(stdout);
    case Stream::Error:
        return _fileno(stderr);
    }
    return _fileno(stderr);
}

} // namespace

void useBinaryMode() {
    for (Stream stream : {Stream::Input, Stream::Output, Stream::Error}) {
        _setmode(descriptor(stream), _O_BINARY);
    }
}

bool isTerminal(Stream stream) {
    return _isatty(descriptor(stream)) != 0;
}

std::ptrdiff_t read(char* buffer, std::size_t size) {
    const int n = _read(descriptor(Stream::Input), buffer,
                        static_cast<unsigned>(size > INT_MAX ? INT_MAX : size));
    if (n < 0) {
        return -1;
    }
    return n;
}

bool write(Stream stream, const char* data, std::size_t size) {
    while (size > 0) {
        const int n = _write(descriptor(stream), data,
                             static_cast<unsigned>(size > INT_MAX ? INT_MAX : size));
        if (n < 0) {
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
