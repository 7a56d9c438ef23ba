#include "console.h"
#include "system_reason.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <io.h>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <shellapi.h>

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

std::string utf8(const wchar_t* text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) {
        return {};
    }
    std::string result(static_cast<std::size_t>(length - 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), length, nullptr, nullptr);
    return result;
}

// The console window that the stream writes to, or null for a file or a pipe.
HANDLE consoleWindow(Stream stream) {
    const HANDLE handle =
        GetStdHandle(stream == Stream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) ? handle : nullptr;
}

// How many of the bytes end with a whole character: a character cut at the end of one write is
// shown with the next.
std::size_t wholeCharacters(const std::string& text) {
    const std::size_t size = text.size();
    for (std::size_t back = 1; back <= 3 && back <= size; ++back) {
        const auto byte = static_cast<unsigned char>(text[size - back]);
        if ((byte & 0xC0) != 0x80) {
            const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
            return length > back ? size - back : size;
        }
    }
    return size;
}

bool writeConsole(HANDLE console, std::string& pending, const char* data, std::size_t size) {
    pending.append(data, size);
    const std::size_t whole = wholeCharacters(pending);
    if (whole == 0) {
        return true;
    }
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, pending.data(), static_cast<int>(whole), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, pending.data(), static_cast<int>(whole), text.data(), length);
    pending.erase(0, whole);
    const wchar_t* next = text.data();
    DWORD left = static_cast<DWORD>(text.size());
    while (left > 0) {
        DWORD written = 0;
        if (!WriteConsoleW(console, next, left, &written, nullptr)) {
            errno = EIO;
            return false;
        }
        next += written;
        left -= written;
    }
    return true;
}

} // namespace

std::vector<std::string> arguments(int argc, const char* const* argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) {
        return {argv, argv + argc};
    }
    std::vector<std::string> result;
    for (int i = 0; i < count; ++i) {
        result.push_back(utf8(wide[i]));
    }
    LocalFree(wide);
    return result;
}

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
    if (const HANDLE console = consoleWindow(stream)) {
        // What a write left of a cut character, per stream, for the next write.
        static std::string pending[2];
        return writeConsole(console, pending[stream == Stream::Output ? 0 : 1], data, size);
    }
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
