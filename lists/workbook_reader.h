#pragma once

#include "cell.h"
#include "zip_package.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace lists {

// What the .xlsx and .ods readers share: the zip package, and how far the reading has come.
class WorkbookReader : public TableReader {
public:
    double progress() const override { return progress_; }

protected:
    WorkbookReader(const std::filesystem::path& path, std::string fileName)
        : package_(path, std::move(fileName)) {}

    // Parses a sheet's XML; a failure names the last row read.
    template <typename Handler>
    void parseSheet(const std::vector<unsigned char>& xml, Handler& handler) {
        package_.parse(xml, handler, &row_);
        progress_ = 1;
    }

    ZipPackage package_;
    std::uint64_t row_ = 0;
    double progress_ = 0;
};

} // namespace lists
