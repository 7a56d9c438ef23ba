#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lists {

// One field of a row. A CSV field is text; a spreadsheet cell may be a number, a date or a truth
// value, which keeps its kind in a spreadsheet output and is read as `text` everywhere else.
struct Cell {
    enum class Kind : unsigned char { Text, Number, Boolean, Date };

    // UTF-8; for a number its digits ("5428", "12.5"), never an exponent; for a date as Italians
    // write it ("01/01/2024", "01/01/2024 10:30", "10:30:15")
    std::string_view text;
    double number = 0; // a date's serial number: days since 30/12/1899, the time as a fraction
    Kind kind = Kind::Text;
};

// Receives a table's rows, in order. The cells are valid during the call only. `joined`, when
// not empty, is the row's cells as they stand in the CSV input, joined by its separator and
// needing no quotes: a CSV output with that separator may copy it whole.
class RowSink {
public:
    virtual ~RowSink() = default;
    virtual void row(std::span<const Cell> cells, std::string_view joined) = 0;
};

// Reads a table and hands over every row, blank ones too (as rows without text).
class TableReader {
public:
    virtual ~TableReader() = default;
    virtual void readAll(RowSink& sink) = 0;
    // How far the reading has come, from 0 to 1; negative when unknown.
    virtual double progress() const = 0;
    // The names of a workbook's sheets, in order; empty for a table of text.
    virtual std::vector<std::string> sheetNames() const { return {}; }
};

// Writes the converted table row by row.
class TableWriter {
public:
    virtual ~TableWriter() = default;
    // Before the first row: the data rows' `width` and how many columns are added after it.
    virtual void layout(std::size_t width, std::size_t added) = 0;
    // The row's own cells (`joined` as RowSink says), then empty cells up to `width` columns,
    // then the `added` texts. Cells of a row wider than `width` follow the added texts, if
    // there are any: those stay under their titles.
    virtual void write(std::span<const Cell> cells, std::string_view joined, std::size_t width,
                       std::span<const std::string_view> added) = 0;
    // Writes whatever is still held and reports any failure; the output is then complete.
    virtual void finish() = 0;
};

} // namespace lists
