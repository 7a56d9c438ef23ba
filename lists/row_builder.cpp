#include "row_builder.h"

namespace lists {

void RowBuilder::clear() {
    entries_.clear();
    texts_.clear();
}

void RowBuilder::add(std::size_t column, Cell::Kind kind, double number, std::string_view text) {
    if (column >= kMaximumColumns) {
        return;
    }
    entries_.push_back({column, kind, number, texts_.size(), text.size()});
    texts_.append(text);
}

std::span<const Cell> RowBuilder::cells() {
    cells_.assign(entries_.empty() ? 0 : entries_.back().column + 1, Cell{});
    for (const Entry& entry : entries_) {
        Cell& cell = cells_[entry.column];
        cell.kind = entry.kind;
        cell.number = entry.number;
        cell.text = std::string_view(texts_).substr(entry.offset, entry.length);
    }
    return cells_;
}

} // namespace lists
