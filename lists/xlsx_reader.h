#pragma once

#include "sheet_choice.h"
#include "workbook_reader.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace lists {

// Reads one sheet of an .xlsx workbook, as Excel, LibreOffice, openpyxl or libxlsxwriter write
// it: shared and inline strings, numbers, truth values, and the last computed value of
// formulas. Built on liborcus's zip archive and SAX parser; the sheet's XML is held in memory
// while its rows are handed over. A number formatted as a date arrives as its serial number.
class XlsxReader : public WorkbookReader {
public:
    XlsxReader(const std::filesystem::path& path, std::string fileName, const SheetChoice& sheet);

    void readAll(RowSink& sink) override;
    std::vector<std::string> sheetNames() const override { return sheetNames_; }

    const std::string& sheetName() const { return sheetName_; }

private:
    std::vector<std::string> sheetNames_;
    std::string sheetPart_;
    std::string sharedStringsPart_;
    std::string sheetName_;
};

} // namespace lists
