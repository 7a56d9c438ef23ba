#include "row_builder.h"

#include "spreadsheet_limits.h"

#include <algorithm>

namespace lists {

void RowBuilder::clear() {
    entries_.clear();
    texts_.clear();
    width_ = 0;
}

void RowBuilder::add(std::size_t column, Cell::Kind kind, double number, std::string_view text) {
    if (column >= kSheetColumns || text.empty()) {
        return;
    }
    entries_.push_back({column, kind, number, texts_.size(), text.size()});
    width_ = std::max(width_, column + 1);
    texts_.append(text);
}

std::span<const Cell> RowBuilder::cells() {
    cells_.assign(width_, Cell{});
    for (const Entry& entry : entries_) {
        Cell& cell = cells_[entry.column];
        cell.kind = entry.kind;
        cell.number = entry.number;
        cell.text = std::string_view(texts_).substr(entry.offset, entry.length);
    }
    return cells_;
}

} // namespace lists
