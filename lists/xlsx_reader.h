#pragma once

#include "sheet_choice.h"
#include "workbook_reader.h"

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

namespace lists {

// Reads one sheet of an .xlsx workbook, as Excel, LibreOffice, openpyxl or libxlsxwriter write
// it: shared and inline strings, numbers, dates (by their cell's number format), truth values,
// error values, and the last computed value of formulas. The sheet is parsed as it is
// inflated; only the shared strings are held, up to kSharedStringsBytes.
class XlsxReader : public WorkbookReader {
public:
    XlsxReader(const std::filesystem::path& path, std::string fileName, const SheetChoice& sheet,
               const std::atomic<bool>* cancelled = nullptr);

    void readAll(RowSink& sink) override;
    std::vector<std::string> sheetNames() const override { return sheetNames_; }

private:
    void readStyles(const std::string& part);

    std::vector<std::string> sheetNames_;
    std::string sheetPart_;
    std::string sharedStringsPart_;
    bool date1904_ = false;
    std::vector<bool> dateStyles_; // by the cells' style index
};

} // namespace lists
