#pragma once

#include "cell.h"
#include "zip_writer.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace lists {

// Writes one sheet of an .xlsx workbook as its rows come, straight into the deflated zip
// entry: nothing is held but a block of XML, and nothing is left to assemble at the end.
// Numbers, dates and truth values keep their kind, texts stay texts (zeros and all), and the
// added columns are text columns. Nothing of the source's formatting is carried over.
class XlsxWriter : public TableWriter {
public:
    XlsxWriter(std::FILE* file, std::string fileName, const std::string& sheetName);

    void layout(std::size_t width, std::size_t added) override;
    void write(std::span<const Cell> cells, std::string_view joined, std::size_t width,
               std::span<const std::string_view> added) override;
    void finish() override;

private:
    void startSheet();
    void cell(std::size_t column, const Cell& cell);
    void openCell(std::size_t column, const char* style);
    void value(std::size_t column, std::string_view value, const char* type, const char* style);
    void text(std::size_t column, std::string_view value, const char* style);
    void flushXml();

    ZipWriter zip_;
    std::string fileName_;
    std::string xml_;
    std::uint32_t row_ = 0;
    std::size_t nextColumn_ = 0; // where a cell without its reference would go
    std::size_t textColumn_ = 0; // the first added column, and how many
    std::size_t textColumns_ = 0;
    bool sheetStarted_ = false;
};

} // namespace lists
