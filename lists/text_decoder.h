#pragma once

#include "byte_buffer.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace lists {

class ByteSource;

// How a text without a byte order mark is read, once known.
enum class Encoding {
    Utf8ByLine,  // UTF-8, but a line that is not is read as Windows-1252
    Windows1252, // the whole text
};

// Thrown by a strict decoder at the first bytes that are not UTF-8: the caller finds out
// (likelyEncoding) how the whole file is written and starts over.
struct NotUtf8 {};

// Turns the input's bytes into UTF-8. A byte order mark names UTF-8 or UTF-16 (and is
// dropped); without one the text is UTF-8. A line that is not valid UTF-8, in a text that
// otherwise is, is read as Windows-1252 on its own: the other lines are untouched. A strict
// decoder (on a file that can be read again) leaves that choice to its caller; one that
// cannot start over (a pipe) makes it line by line from the first invalid byte on. A NUL means
// binary data.
class TextDecoder {
public:
    // Capacity that decode() needs at the least.
    static constexpr std::size_t kMinimumCapacity = 16;
    // Line numbers read as Windows-1252 that are kept, for the summary.
    static constexpr std::size_t kLinesKept = 10;

    // `forced`: how a text without a byte order mark is read, instead of finding it out.
    TextDecoder(ByteSource& source, std::optional<Encoding> forced, bool strict);

    // Writes the next decoded bytes at `to`, at most `capacity`, ending on a whole character;
    // returns how many, 0 only at the end of the input.
    std::size_t decode(char* to, std::size_t capacity);

    // The share of the input read so far, from 0 to 1; negative when its size is unknown.
    double progress() const;

    // The lines (from 1) read as Windows-1252 in a UTF-8 text: the first kLinesKept, and how
    // many in all.
    const std::vector<std::uint64_t>& windows1252Lines() const { return windows1252Lines_; }
    std::uint64_t windows1252LineCount() const { return windows1252LineCount_; }

private:
    enum class Mode { Utf8, Utf8ByLine, Utf16LE, Utf16BE, Windows1252 };

    std::size_t decodeUtf8(char* to, std::size_t capacity);
    std::size_t decodeByLine(char* to, std::size_t capacity);
    std::size_t transcode(char* to, std::size_t capacity);
    // Puts `bytes` back before the unread raw bytes.
    void unread(const char* bytes, std::size_t size);
    // Whether the line that starts at rawBegin_ is valid UTF-8, reading more until its end is
    // in (or the buffer is as large as a record may be).
    bool lineIsUtf8();
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
    // Line by line: the line being read, from 1, whether its start is decided and how.
    std::uint64_t line_ = 1;
    bool lineDecided_ = false;
    bool lineWindows1252_ = false;
    bool lineStarted_ = false; // bytes of the current line have gone out as UTF-8
    std::vector<std::uint64_t> windows1252Lines_;
    std::uint64_t windows1252LineCount_ = 0;
};

// How a file whose bytes are not all UTF-8 is written: UTF-8 with some lines in Windows-1252
// when more of its lines with other characters than ASCII are valid UTF-8 than not (or when a
// byte order mark says UTF-8), else Windows-1252. Reads `source` to its end.
Encoding likelyEncoding(ByteSource& source);

} // namespace lists
