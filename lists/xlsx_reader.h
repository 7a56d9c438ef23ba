#pragma once

#include "cell.h"
#include "sheet_choice.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace lists {

class ZipPackage;

// Reads one sheet of an .xlsx workbook, as Excel, LibreOffice, openpyxl or libxlsxwriter write
// it: shared and inline strings, numbers, truth values, and the last computed value of
// formulas. Built on liborcus's zip archive and SAX parser; the sheet's XML is held in memory
// while its rows are handed over. A number formatted as a date arrives as its serial number.
class XlsxReader : public TableReader {
public:
    XlsxReader(const std::filesystem::path& path, std::string fileName, const SheetChoice& sheet);
    ~XlsxReader() override;

    void readAll(RowSink& sink) override;
    std::string where() const override;
    double progress() const override;

    const std::string& sheetName() const { return sheetName_; }

private:
    std::unique_ptr<ZipPackage> package_;
    std::string sheetPart_;
    std::string sharedStringsPart_;
    std::string sheetName_;
    std::uint64_t row_ = 0;
    double progress_ = 0;
};

} // namespace lists
