#pragma once

#include "cell.h"

#include <cstdint>
#include <filesystem>
#include <string>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace lists {

// Writes one sheet of an .xlsx workbook with libxlsxwriter in constant-memory mode: each row
// goes to disk as it is written. Numbers and truth values keep their kind, texts stay texts
// (zeros and all), and the added columns are text columns. Nothing of the source's formatting
// is carried over. The workbook is assembled at finish().
class XlsxWriter : public TableWriter {
public:
    XlsxWriter(const std::filesystem::path& file, std::string fileName,
               const std::string& sheetName);
    ~XlsxWriter() override;

    void write(std::span<const Cell> cells, std::string_view joined, std::size_t width,
               std::span<const std::string_view> added) override;
    void finish() override;

private:
    void text(std::uint16_t column, std::string_view value, lxw_format* format);
    void check(int error, std::uint16_t column);

    std::string fileName_;
    lxw_workbook* workbook_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    lxw_format* textFormat_ = nullptr;
    lxw_format* dateFormat_ = nullptr;
    lxw_format* dateTimeFormat_ = nullptr;
    std::uint32_t row_ = 0;
    bool textColumnsSet_ = false;
    std::string scratch_;
};

} // namespace lists
