#pragma once

#include <cstddef>
#include <cstdint>

// UTF-8 checked block by block, and written into a buffer. (The verifier reads and appends
// single characters: verifier/utf8.h.)
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

} // namespace lists::utf8
