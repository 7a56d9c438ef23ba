// Any bytes read as an .xlsx and as an .ods workbook: the readers either refuse them with a
// ConversionError or hand over rows within a sheet's limits, each within the bytes a row may
// take; nothing crashes, and memory stays with what the reader holds.

#include "conversion_error.h"
#include "ods_reader.h"
#include "spreadsheet_limits.h"
#include "xlsx_reader.h"

#include "fuzz_support.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

struct Rows : lists::RowSink {
    std::uint64_t count = 0;
    void row(std::span<const lists::Cell> cells, std::string_view) override {
        ++count;
        check(count <= lists::kSheetRows);
        check(!cells.empty() && cells.size() <= lists::kSheetColumns);
        std::uint64_t bytes = 0;
        for (const lists::Cell& cell : cells)
            bytes += cell.text.size();
        check(bytes <= lists::kRowBytes);
    }
};

template <typename Reader> void read(const std::filesystem::path& path) {
    try {
        Reader reader(path, "fuzz", lists::SheetChoice(""));
        Rows rows;
        reader.readAll(rows);
        check(reader.progress() >= 0 && reader.progress() <= 1);
    } catch (const lists::ConversionError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    static const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("fuzz-workbook-" + std::to_string(getpid()));
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return 0;
    std::fwrite(bytes, 1, size, file);
    std::fclose(file);
    read<lists::XlsxReader>(path);
    read<lists::OdsReader>(path);
    std::filesystem::remove(path);
    return 0;
}
