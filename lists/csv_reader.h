#pragma once

#include "byte_buffer.h"

#include "cell.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lists {

class TextDecoder;

// Reads a CSV or TSV text record by record, as RFC 4180 says, and leniently where it is silent:
// a quote inside an unquoted field is a character; text after a closing quote belongs to the
// field. Line ends may be CRLF, LF or CR, also mixed. Every line is a record, blank ones too.
// The fields are views into the reader's buffer, valid until the next call of next().
class CsvReader : public TableReader {
public:
    // A record longer than this is refused: almost always a quote that never closes.
    static constexpr std::size_t kMaximumRecord = 16 * 1024 * 1024;

    // `separator`: as given, or detected from the first lines.
    CsvReader(TextDecoder& decoder, std::string fileName, std::optional<char> separator);

    // Reads the next record; false at the end of the text. Throws ConversionError when a
    // quoted field never closes.
    bool next();

    const std::vector<std::string_view>& fields() const { return fields_; }

    char separator() const { return separator_; }

    // The records as rows of text cells.
    void readAll(RowSink& sink) override;
    double progress() const override;

    // The line end of the first line: "\r\n" or "\n" ("\r\n" also for a lone CR, or none).
    std::string_view lineEnd() const { return lineEnd_; }

private:
    enum class Parsed { Record, NeedMore };
    enum Kind : unsigned char { Plain, Separator, Quote, CarriageReturn, LineFeed };

    Parsed parse();
    template <bool Write> Parsed parseQuoted(char** recordEnd, std::uint64_t* lineBreaks);
    // Ends the record at `q`, a line end or the sentinel; NeedMore when the next block decides.
    Parsed endRecord(const char* q, char** recordEnd, std::uint64_t* lineBreaks);
    bool fill();

    TextDecoder& decoder_;
    std::string fileName_;
    ByteBuffer buffer_;
    std::size_t begin_ = 0; // first byte not yet read into a record
    std::size_t end_ = 0;   // end of the decoded text in the buffer
    bool ended_ = false;
    char separator_ = ';';
    std::string_view lineEnd_;
    std::array<Kind, 256> kinds_{};
    std::vector<std::string_view> fields_;
    std::vector<Cell> cells_;
    std::string_view joined_; // the record's text when it holds no quote
    std::uint64_t nextLine_ = 1;
};

} // namespace lists
