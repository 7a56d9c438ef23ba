#include "text_decoder.h"

#include "byte_source.h"
#include "conversion_error.h"
#include "utf8.h" // the verifier's
#include "utf8_blocks.h"

#include <array>
#include <cstring>

namespace lists {
namespace {

constexpr std::size_t kRawBlock = 256 * 1024;

// Windows-1252's 0x80-0x9F; its five unassigned bytes map to the C1 controls, as Windows does.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t fromWindows1252(unsigned char c) {
    return c >= 0x80 && c < 0xA0 ? kWindows1252High[c - 0x80] : c;
}

} // namespace

TextDecoder::TextDecoder(ByteSource& source, std::optional<Encoding> forced, bool strict)
    : source_(source), raw_(kRawBlock), strict_(strict) {
    // A pipe may give fewer bytes than a byte order mark has, at first.
    while (rawEnd_ < 3 && !ended_) {
        refill();
    }
    const auto* b = reinterpret_cast<const unsigned char*>(raw_.data());
    const std::size_t n = rawEnd_;
    if (n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
        rawBegin_ = 3;
        mode_ = Mode::Utf8;
    } else if (n >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
        rawBegin_ = 2;
        mode_ = Mode::Utf16LE;
    } else if (n >= 2 && b[0] == 0xFE && b[1] == 0xFF) {
        rawBegin_ = 2;
        mode_ = Mode::Utf16BE;
    } else {
        mode_ = forced == Encoding::Windows1252 ? Mode::Windows1252 : Mode::Utf8;
    }
}

double TextDecoder::progress() const {
    const std::optional<std::uint64_t> size = source_.size();
    if (!size) {
        return -1;
    }
    return *size == 0 ? 1.0 : static_cast<double>(source_.bytesRead()) / static_cast<double>(*size);
}

void TextDecoder::notText() const {
    throw ConversionError("Il file " + source_.name() +
                          " non è una tabella: contiene dati binari, non testo.");
}

bool TextDecoder::refill() {
    if (ended_) {
        return rawBegin_ < rawEnd_;
    }
    std::memmove(raw_.data(), raw_.data() + rawBegin_, rawEnd_ - rawBegin_);
    rawEnd_ -= rawBegin_;
    rawBegin_ = 0;
    const std::size_t got = source_.read(raw_.data() + rawEnd_, raw_.size() - rawEnd_);
    rawEnd_ += got;
    if (got == 0) {
        ended_ = true;
    }
    return rawBegin_ < rawEnd_;
}

std::size_t TextDecoder::decode(char* to, std::size_t capacity) {
    return mode_ == Mode::Utf8 ? decodeUtf8(to, capacity) : transcode(to, capacity);
}

// UTF-8 needs no conversion, only a check: the bytes are read straight into place.
std::size_t TextDecoder::decodeUtf8(char* to, std::size_t capacity) {
    std::size_t n = std::min(capacity, rawEnd_ - rawBegin_);
    std::memcpy(to, raw_.data() + rawBegin_, n);
    rawBegin_ += n;
    // Nothing held, or only the first bytes of a cut character: read on after them. (Four
    // bytes or more always begin with a whole character, or an invalid byte.)
    if (n < 4 && !ended_ && rawBegin_ == rawEnd_) {
        const std::size_t got = source_.read(to + n, capacity - n);
        if (got == 0) {
            ended_ = true;
        }
        n += got;
    }
    const bool atEnd = ended_ && rawBegin_ == rawEnd_;
    const utf8::Check c = utf8::check(reinterpret_cast<const unsigned char*>(to), n);
    if (c.status == utf8::Status::Complete) {
        return n;
    }
    if (c.status == utf8::Status::Nul) {
        notText();
    }
    if (c.status == utf8::Status::Truncated && !atEnd) {
        // The character goes on in the next block: keep its first bytes for then.
        const std::size_t tail = n - c.valid;
        std::memmove(raw_.data() + tail, raw_.data() + rawBegin_, rawEnd_ - rawBegin_);
        rawEnd_ = tail + (rawEnd_ - rawBegin_);
        rawBegin_ = 0;
        std::memcpy(raw_.data(), to + c.valid, tail);
        return c.valid > 0 ? c.valid : decodeUtf8(to, capacity);
    }
    if (strict_) {
        throw NotUtf8{};
    }
    // From here on the bytes go through the lenient decoder, starting with the invalid one.
    const std::size_t rest = n - c.valid;
    raw_.grow(rest + (rawEnd_ - rawBegin_), rawEnd_);
    std::memmove(raw_.data() + rest, raw_.data() + rawBegin_, rawEnd_ - rawBegin_);
    rawEnd_ = rest + (rawEnd_ - rawBegin_);
    rawBegin_ = 0;
    std::memcpy(raw_.data(), to + c.valid, rest);
    mode_ = Mode::Utf8Lenient;
    return c.valid > 0 ? c.valid : transcode(to, capacity);
}

std::size_t TextDecoder::transcode(char* to, std::size_t capacity) {
    char* out = to;
    // Every step writes at most 4 bytes.
    char* const limit = to + capacity - 4;
    for (;;) {
        // A step needs up to four bytes; a pipe may hand them over one by one.
        while (rawEnd_ - rawBegin_ < 4 && !ended_) {
            refill();
        }
        const std::size_t available = rawEnd_ - rawBegin_;
        if (available == 0 || out > limit) {
            return static_cast<std::size_t>(out - to);
        }
        const auto* b = reinterpret_cast<const unsigned char*>(raw_.data() + rawBegin_);
        switch (mode_) {
        case Mode::Windows1252:
            if (b[0] == 0) {
                notText();
            }
            out = verifier::utf8::scrivi(fromWindows1252(b[0]), out);
            ++rawBegin_;
            break;
        case Mode::Utf8Lenient: {
            const utf8::Check c = utf8::check(b, std::min<std::size_t>(available, 4));
            if (c.status == utf8::Status::Nul && c.valid == 0) {
                notText();
            }
            // Refilled above, a character can be cut short only by the end of the input.
            if (c.valid == 0) {
                out = verifier::utf8::scrivi(fromWindows1252(b[0]), out);
                ++rawBegin_;
                break;
            }
            // A whole, valid character: its lead byte gives its length.
            const std::size_t length = b[0] < 0x80 ? 1 : b[0] < 0xE0 ? 2 : b[0] < 0xF0 ? 3 : 4;
            std::memcpy(out, b, length);
            out += length;
            rawBegin_ += length;
            break;
        }
        case Mode::Utf16LE:
        case Mode::Utf16BE: {
            const bool little = mode_ == Mode::Utf16LE;
            const auto unit = [&](std::size_t k) -> char16_t {
                return little ? static_cast<char16_t>(b[k] | (b[k + 1] << 8))
                              : static_cast<char16_t>((b[k] << 8) | b[k + 1]);
            };
            if (available < 2) {
                // An odd last byte: no character of its own.
                out = verifier::utf8::scrivi(0xFFFD, out);
                ++rawBegin_;
                break;
            }
            const char16_t first = unit(0);
            if (first == 0) {
                notText();
            }
            if (first >= 0xD800 && first < 0xDC00 && available >= 4) {
                const char16_t second = unit(2);
                if (second >= 0xDC00 && second < 0xE000) {
                    const char32_t point = 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00);
                    out = verifier::utf8::scrivi(point, out);
                    rawBegin_ += 4;
                    break;
                }
            }
            const bool surrogate = first >= 0xD800 && first < 0xE000;
            out = verifier::utf8::scrivi(surrogate ? char32_t(0xFFFD) : char32_t(first), out);
            rawBegin_ += 2;
            break;
        }
        case Mode::Utf8:
            return static_cast<std::size_t>(out - to);
        }
    }
}

} // namespace lists
