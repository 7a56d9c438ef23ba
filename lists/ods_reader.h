#pragma once

#include "sheet_choice.h"
#include "workbook_reader.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace lists {

// Reads one sheet (table) of an OpenDocument spreadsheet, as LibreOffice writes it: repeated
// rows and cells, paragraphs joined by line ends, numbers, dates (AAAA-MM-GG), truth values;
// comments are left out. Built on liborcus's zip archive and SAX parser.
class OdsReader : public WorkbookReader {
public:
    OdsReader(const std::filesystem::path& path, std::string fileName, SheetChoice sheet);

    void readAll(RowSink& sink) override;
    // Read in a pass of their own.
    std::vector<std::string> sheetNames() const override;

private:
    SheetChoice sheet_;
};

} // namespace lists
