#pragma once

#include "columns.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace lists {

// The start of a list, to choose its sheet and its columns before converting it.
struct ListPreview {
    static constexpr std::size_t kRowsAfterHeader = 5;

    std::vector<std::string> sheets; // a workbook's sheets, in order; empty for a table of text
    std::string sheet;               // the sheet shown; empty for a table of text
    // The header row, then up to kRowsAfterHeader rows with text after it; empty for a list
    // without text. The header is the first row that names a column by one of its usual names,
    // within the rows where a conversion looks for it; else the first row with text.
    std::vector<std::vector<std::string>> rows;
    std::uint64_t headerNumber = 0; // the header row's number, as a spreadsheet shows it
    // By column of the preview: what --abi, --cab, --conto or --iban take to name it. Its header
    // when the header row names columns and no other header reads the same; else its number.
    std::vector<std::string> columnOptions;
    // By Column: the column found by its usual name, or Layout::kNone.
    std::array<std::size_t, 4> recognised{Layout::kNone, Layout::kNone, Layout::kNone,
                                          Layout::kNone};
};

// Reads the start of `input`, from the sheet that `sheet` names as --foglio does. Throws
// ConversionError as the conversion would.
ListPreview previewList(const std::filesystem::path& input, const std::string& sheet);

} // namespace lists
