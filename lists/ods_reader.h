#pragma once

#include "cell.h"
#include "sheet_choice.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace lists {

class ZipPackage;

// Reads one sheet (table) of an OpenDocument spreadsheet, as LibreOffice writes it: repeated
// rows and cells, paragraphs joined by line ends, numbers, dates (AAAA-MM-GG), truth values;
// comments are left out. Built on liborcus's zip archive and SAX parser.
class OdsReader : public TableReader {
public:
    OdsReader(const std::filesystem::path& path, std::string fileName, SheetChoice sheet);
    ~OdsReader() override;

    void readAll(RowSink& sink) override;
    std::string where() const override;
    double progress() const override;

private:
    std::unique_ptr<ZipPackage> package_;
    std::string fileName_;
    SheetChoice sheet_;
    std::uint64_t row_ = 0;
    double progress_ = 0;
};

} // namespace lists
