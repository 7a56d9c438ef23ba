#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// UTF-8 checking and writing, byte by byte, without the standard library's locales.
namespace lists::utf8 {

enum class Status {
    Complete,  // all `valid` bytes form whole characters
    Truncated, // the bytes after `valid` begin a character that the next block completes
    Invalid,   // the byte at `valid` cannot be UTF-8 here
    Nul,       // the byte at `valid` is a NUL: binary data, not text
};

struct Check {
    std::size_t valid = 0;
    Status status = Status::Complete;
};

// Checks `size` bytes: overlong forms, surrogates and code points beyond U+10FFFF are invalid.
Check check(const unsigned char* bytes, std::size_t size);

// Appends the UTF-8 form of `codePoint` (at most 4 bytes) at `to`; returns the end.
char* encode(char32_t codePoint, char* to);

// The code point at the start of `text` (valid UTF-8 assumed), and how many bytes it takes.
char32_t decodeFirst(std::string_view text, std::size_t* length);

} // namespace lists::utf8
