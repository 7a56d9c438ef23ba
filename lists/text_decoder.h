#pragma once

#include "byte_buffer.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace lists {

class ByteSource;

// The encoding a caller may impose on a text without a byte order mark.
enum class Encoding { Utf8, Windows1252 };

// Thrown by a strict decoder when bytes read as UTF-8 prove not to be UTF-8: the caller starts
// over in Windows-1252, so that the whole file is read one way.
struct NotUtf8 {};

// Turns the input's bytes into UTF-8. A byte order mark names UTF-8 or UTF-16 (and is
// dropped); without one the text is UTF-8 when every byte says so, else Windows-1252. When the
// input cannot be read twice (a pipe), the decoder is not strict: from the first invalid byte
// on, each byte that is not UTF-8 is read as Windows-1252. A NUL means binary data.
class TextDecoder {
public:
    // Capacity that decode() needs at the least.
    static constexpr std::size_t kMinimumCapacity = 16;

    // `forced`: the encoding of a text without a byte order mark, instead of finding it out.
    TextDecoder(ByteSource& source, std::optional<Encoding> forced, bool strict);

    // Writes the next decoded bytes at `to`, at most `capacity`, ending on a whole character;
    // returns how many, 0 only at the end of the input.
    std::size_t decode(char* to, std::size_t capacity);

    // The share of the input read so far, from 0 to 1; negative when its size is unknown.
    double progress() const;

private:
    enum class Mode { Utf8, Utf8Lenient, Utf16LE, Utf16BE, Windows1252 };

    std::size_t decodeUtf8(char* to, std::size_t capacity);
    std::size_t transcode(char* to, std::size_t capacity);
    // Moves the unread raw bytes to the front and reads more after them; false at the end.
    bool refill();
    [[noreturn]] void notText() const;

    ByteSource& source_;
    Mode mode_ = Mode::Utf8;
    ByteBuffer raw_;
    std::size_t rawBegin_ = 0;
    std::size_t rawEnd_ = 0;
    bool ended_ = false;
    bool strict_;
};

} // namespace lists
