#include "utf8_blocks.h"

#include <algorithm>
#include <cstring>

namespace lists::utf8 {
namespace {

constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
constexpr std::uint64_t kLowBits = 0x0101010101010101ull;

bool plainAscii(std::uint64_t eight) {
    const bool hasZero = ((eight - kLowBits) & ~eight & kHighBits) != 0;
    return (eight & kHighBits) == 0 && !hasZero;
}

// The lead byte's sequence length, 0 when it cannot lead; and the range of its second byte.
struct Lead {
    std::size_t length;
    unsigned char low;
    unsigned char high;
};

Lead lead(unsigned char c) {
    if (c >= 0xC2 && c <= 0xDF) {
        return {2, 0x80, 0xBF};
    }
    if (c == 0xE0) {
        return {3, 0xA0, 0xBF};
    }
    if (c == 0xED) {
        return {3, 0x80, 0x9F}; // no surrogates
    }
    if (c >= 0xE1 && c <= 0xEF) {
        return {3, 0x80, 0xBF};
    }
    if (c == 0xF0) {
        return {4, 0x90, 0xBF};
    }
    if (c >= 0xF1 && c <= 0xF3) {
        return {4, 0x80, 0xBF};
    }
    if (c == 0xF4) {
        return {4, 0x80, 0x8F}; // up to U+10FFFF
    }
    return {0, 0, 0};
}

} // namespace

Check check(const unsigned char* bytes, std::size_t size) {
    std::size_t i = 0;
    while (i < size) {
        if (i + 8 <= size) {
            std::uint64_t eight;
            std::memcpy(&eight, bytes + i, 8);
            if (plainAscii(eight)) {
                i += 8;
                continue;
            }
        }
        const unsigned char c = bytes[i];
        if (c < 0x80) {
            if (c == 0) {
                return {i, Status::Nul};
            }
            ++i;
            continue;
        }
        const Lead l = lead(c);
        if (l.length == 0) {
            return {i, Status::Invalid};
        }
        const std::size_t present = std::min(l.length, size - i);
        for (std::size_t k = 1; k < present; ++k) {
            const unsigned char low = k == 1 ? l.low : 0x80;
            const unsigned char high = k == 1 ? l.high : 0xBF;
            if (bytes[i + k] < low || bytes[i + k] > high) {
                return {i, Status::Invalid};
            }
        }
        if (present < l.length) {
            return {i, Status::Truncated};
        }
        i += l.length;
    }
    return {size, Status::Complete};
}

} // namespace lists::utf8
