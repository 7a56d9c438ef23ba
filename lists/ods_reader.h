#pragma once

#include "sheet_choice.h"
#include "workbook_reader.h"

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

namespace lists {

// Reads one sheet (table) of an OpenDocument spreadsheet, as LibreOffice writes it: repeated
// rows and cells, paragraphs joined by line ends, repeated spaces, numbers, dates, truth values
// and error values; comments are left out. content.xml is parsed as it is inflated. Repeats are
// expanded only where something follows them, and never beyond a sheet's limits.
class OdsReader : public WorkbookReader {
public:
    OdsReader(const std::filesystem::path& path, std::string fileName, const SheetChoice& sheet,
              const std::atomic<bool>* cancelled = nullptr);

    void readAll(RowSink& sink) override;
    // Read in a pass of their own.
    std::vector<std::string> sheetNames() const override;

private:
    int chosen_ = 0;
};

} // namespace lists
