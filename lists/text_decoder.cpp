#include "text_decoder.h"

#include "byte_source.h"
#include "conversion_error.h"
#include "utf8.h" // the verifier's
#include "utf8_blocks.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>

namespace lists {
namespace {

constexpr std::size_t kRawBlock = 256 * 1024;
// A line is judged whole up to this size, a record's most (CsvReader::kMaximumRecord).
constexpr std::size_t kMaximumLine = 16 * 1024 * 1024;

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
    } else if (forced == Encoding::Windows1252) {
        mode_ = Mode::Windows1252;
    } else if (forced == Encoding::Utf8ByLine) {
        mode_ = Mode::Utf8ByLine;
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
    switch (mode_) {
    case Mode::Utf8:
        return decodeUtf8(to, capacity);
    case Mode::Utf8ByLine:
        return decodeByLine(to, capacity);
    case Mode::Utf16LE:
    case Mode::Utf16BE:
    case Mode::Windows1252:
        break;
    }
    return transcode(to, capacity);
}

void TextDecoder::unread(const char* bytes, std::size_t size) {
    raw_.grow(size + (rawEnd_ - rawBegin_), rawEnd_);
    std::memmove(raw_.data() + size, raw_.data() + rawBegin_, rawEnd_ - rawBegin_);
    rawEnd_ = size + (rawEnd_ - rawBegin_);
    rawBegin_ = 0;
    std::memcpy(raw_.data(), bytes, size);
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
    if (c.status == utf8::Status::Complete || (c.status == utf8::Status::Truncated && !atEnd)) {
        // A cut character goes on in the next block: its first bytes are kept for then.
        if (c.valid < n) {
            unread(to + c.valid, n - c.valid);
        }
        if (!strict_) {
            // A text that cannot be read again may yet switch to lines: their numbers count.
            line_ += static_cast<std::uint64_t>(std::count(to, to + c.valid, '\n'));
            lineStarted_ = c.valid > 0 && to[c.valid - 1] != '\n';
        }
        // Only a cut character: its end is in the next block.
        return c.valid > 0 || c.status == utf8::Status::Complete ? c.valid
                                                                 : decodeUtf8(to, capacity);
    }
    if (c.status == utf8::Status::Nul) {
        notText();
    }
    if (strict_) {
        throw NotUtf8{};
    }
    // From the line with the invalid byte on, each line is decided on its own. The whole lines
    // before it go out now; the line itself is read again, unless part of it has already gone.
    const char* const lineStart =
        std::find(std::make_reverse_iterator(to + c.valid), std::make_reverse_iterator(to), '\n')
            .base();
    std::size_t kept = static_cast<std::size_t>(lineStart - to);
    mode_ = Mode::Utf8ByLine;
    line_ += static_cast<std::uint64_t>(std::count(to, to + kept, '\n'));
    if (kept == 0 && lineStarted_) {
        kept = c.valid; // the line goes on as Windows-1252 from its first invalid byte
        lineDecided_ = true;
        lineWindows1252_ = true;
        ++windows1252LineCount_;
        if (windows1252Lines_.size() < kLinesKept) {
            windows1252Lines_.push_back(line_);
        }
    } else if (kept > 0) {
        lineStarted_ = false;
    }
    unread(to + kept, n - kept);
    return kept > 0 ? kept : decodeByLine(to, capacity);
}

bool TextDecoder::lineIsUtf8() {
    for (;;) {
        const char* begin = raw_.data() + rawBegin_;
        const std::size_t available = rawEnd_ - rawBegin_;
        const void* newline = std::memchr(begin, '\n', available);
        if (newline != nullptr || ended_ || raw_.size() >= kMaximumLine) {
            const std::size_t length =
                newline != nullptr
                    ? static_cast<std::size_t>(static_cast<const char*>(newline) - begin) + 1
                    : available;
            const utf8::Check c =
                utf8::check(reinterpret_cast<const unsigned char*>(begin), length);
            // A character cut by the buffer's end is judged with the rest of the line.
            return c.status == utf8::Status::Complete ||
                   (c.status == utf8::Status::Truncated && newline == nullptr && !ended_);
        }
        if (rawBegin_ == 0 && rawEnd_ == raw_.size()) {
            raw_.grow(2 * raw_.size(), rawEnd_);
        }
        refill();
    }
}

std::size_t TextDecoder::decodeByLine(char* to, std::size_t capacity) {
    char* out = to;
    // Every Windows-1252 byte takes at most 3 bytes.
    char* const limit = to + capacity - 3;
    while (out <= limit) {
        if (rawBegin_ == rawEnd_ && !refill()) {
            break;
        }
        if (!lineDecided_) {
            lineWindows1252_ = !lineIsUtf8();
            lineDecided_ = true;
            if (lineWindows1252_) {
                ++windows1252LineCount_;
                if (windows1252Lines_.size() < kLinesKept) {
                    windows1252Lines_.push_back(line_);
                }
            }
        }
        const char* const begin = raw_.data() + rawBegin_;
        const std::size_t available = rawEnd_ - rawBegin_;
        const void* newline = std::memchr(begin, '\n', available);
        const std::size_t lineRest =
            newline != nullptr
                ? static_cast<std::size_t>(static_cast<const char*>(newline) - begin) + 1
                : available;
        std::size_t taken = 0;
        if (lineWindows1252_) {
            for (; taken < lineRest && out <= limit; ++taken) {
                const auto c = static_cast<unsigned char>(begin[taken]);
                if (c == 0) {
                    notText();
                }
                out = verifier::utf8::scrivi(fromWindows1252(c), out);
            }
        } else {
            const std::size_t size =
                std::min(lineRest, static_cast<std::size_t>(to + capacity - out));
            const utf8::Check c = utf8::check(reinterpret_cast<const unsigned char*>(begin), size);
            if (c.status == utf8::Status::Nul) {
                notText();
            }
            taken = c.valid;
            std::memcpy(out, begin, taken);
            out += taken;
            if (c.status == utf8::Status::Invalid) {
                // A line longer than the buffer, with a bad byte past its judged part.
                lineWindows1252_ = true;
            } else if (taken == 0) {
                if (size < lineRest) {
                    break; // no room for the next character: it goes in the next call
                }
                // A character cut by the input read so far: read on, or end with what is there.
                if (!ended_) {
                    refill();
                    continue;
                }
                out = verifier::utf8::scrivi(0xFFFD, out);
                taken = size;
            }
        }
        rawBegin_ += taken;
        if (taken == lineRest && newline != nullptr) {
            ++line_;
            lineDecided_ = false;
        }
    }
    return static_cast<std::size_t>(out - to);
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
        case Mode::Utf8ByLine:
            return static_cast<std::size_t>(out - to);
        }
    }
}

Encoding likelyEncoding(ByteSource& source) {
    ByteBuffer block(kRawBlock);
    std::size_t kept = 0; // the start of a line that goes on in the next block
    std::uint64_t utf8Lines = 0;
    std::uint64_t otherLines = 0;
    bool first = true;
    for (;;) {
        if (kept == block.size()) {
            block.grow(2 * block.size(), kept);
        }
        const std::size_t got = source.read(block.data() + kept, block.size() - kept);
        const std::size_t size = kept + got;
        const auto* bytes = reinterpret_cast<const unsigned char*>(block.data());
        if (first && size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
            return Encoding::Utf8ByLine;
        }
        first = false;
        std::size_t start = 0;
        for (;;) {
            const void* newline = std::memchr(bytes + start, '\n', size - start);
            if (newline == nullptr && got > 0 && size - start < kMaximumLine) {
                break;
            }
            const std::size_t end =
                newline != nullptr ? static_cast<const unsigned char*>(newline) - bytes + 1 : size;
            const std::size_t length = end - start;
            if (std::any_of(bytes + start, bytes + end,
                            [](unsigned char c) { return c >= 0x80; })) {
                ++(utf8::check(bytes + start, length).status == utf8::Status::Complete
                       ? utf8Lines
                       : otherLines);
            }
            start = end;
            if (start == size) {
                break;
            }
        }
        if (got == 0) {
            return utf8Lines > otherLines ? Encoding::Utf8ByLine : Encoding::Windows1252;
        }
        kept = size - start;
        std::memmove(block.data(), block.data() + start, kept);
    }
}

} // namespace lists
