#pragma once

#include <cstddef>
#include <cstdint>

// UTF-8 checked block by block. (Single characters are read and written by the verifier's
// utf8.h.)
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

} // namespace lists::utf8
