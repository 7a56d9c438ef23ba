#pragma once

#include "byte_buffer.h"

#include "cell.h"

#include <array>
#include <cstdio>
#include <string>
#include <vector>

namespace lists {

// Writes CSV in UTF-8, with a byte order mark if asked, so that Excel reads the accents; fields are
// quoted only when they hold the separator, a quote or a line end. A row of one empty field is
// a blank line. Numbers take a decimal comma when the separator is ";", as Italian Excel does.
class CsvWriter : public TableWriter {
public:
    CsvWriter(std::FILE* file, std::string fileName, char separator, std::string lineEnd,
              bool byteOrderMark);

    void layout(std::size_t, std::size_t) override {}
    void write(std::span<const Cell> cells, std::string_view joined, std::size_t width,
               std::span<const std::string_view> added) override;
    void finish() override;

private:
    void reserve(std::size_t size);
    void append(std::string_view text);
    void field(std::string_view text);
    void cell(const Cell& cell);
    void number(std::string_view digits);
    void flush();

    std::FILE* file_;
    std::string fileName_;
    char separator_;
    std::string lineEnd_;
    std::array<bool, 256> special_{};
    ByteBuffer buffer_;
    std::size_t used_ = 0;
};

} // namespace lists
