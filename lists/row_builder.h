#pragma once

#include "cell.h"

#include <cstddef>
#include <string>
#include <vector>

namespace lists {

// Gathers a spreadsheet row cell by cell, with copies of the texts. The cells may come in any
// order (an .xlsx names each one's column); the columns none gave are empty, and a column
// given twice keeps its last cell. Empty texts are no cells: the row ends at its last cell with
// something in it.
class RowBuilder {
public:
    void clear();
    // Ignored beyond the columns a sheet has (kSheetColumns).
    void add(std::size_t column, Cell::Kind kind, double number, std::string_view text);
    bool empty() const { return entries_.empty(); }
    // The bytes of the texts so far, to keep a row within kRowBytes.
    std::size_t bytes() const { return texts_.size(); }
    std::span<const Cell> cells();

private:
    struct Entry {
        std::size_t column;
        Cell::Kind kind;
        double number;
        std::size_t offset;
        std::size_t length;
    };
    std::vector<Entry> entries_;
    std::string texts_;
    std::size_t width_ = 0; // up to the rightmost column given
    std::vector<Cell> cells_;
};

} // namespace lists
