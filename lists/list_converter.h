#pragma once

#include "cell.h"
#include "columns.h"
#include "conversion.h"
#include "row_check.h"

#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace lists {

// Takes the rows as they are read and writes them with their added columns. The first rows
// are held until the header is found (or it is clear there is none): the rows before it are
// written as they are, the header gets the added columns' titles, and every later row that is
// not blank is converted. Nothing is dropped, reordered or changed.
class ListConverter : public RowSink {
public:
    // The header is looked for in this many rows with text.
    static constexpr int kHeaderSearchRows = 10;

    ListConverter(const ColumnOptions& options, std::string fileName, const TableReader& reader,
                  TableWriter& writer, const ConversionHooks& hooks);

    void row(std::span<const Cell> cells, std::string_view joined) override;
    // After the last row: decides for a short file and writes what is still held.
    void finish();

    // The counts so far; the mode once decided.
    Summary summary() const;

private:
    struct HeldRow {
        std::string texts;
        std::vector<Cell> cells;
    };

    void hold(std::span<const Cell> cells);
    void decideWithoutHeaderNames();
    void start(const Layout& layout, std::optional<std::size_t> headerRow);
    // `number`: the row's, as a spreadsheet numbers it.
    void convert(std::span<const Cell> cells, std::string_view joined, std::uint64_t number);
    void tellReason(std::span<const Cell> cells, std::uint64_t number) const;
    void poll();

    const ColumnOptions& options_;
    std::string fileName_;
    const TableReader& reader_;
    TableWriter& writer_;
    const ConversionHooks& hooks_;
    std::chrono::steady_clock::time_point started_;
    std::chrono::steady_clock::time_point lastProgress_;

    std::deque<HeldRow> held_; // a deque: the cells point into texts that must not move
    int heldWithText_ = 0;
    std::optional<Layout> layout_;
    std::unique_ptr<RowCheck> check_;

    std::uint64_t rowsRead_ = 0;
    std::uint64_t dataRows_ = 0;
    std::uint64_t rowsOk_ = 0;
    // Looked up by view, without a copy per row.
    struct Hash : std::hash<std::string_view> {
        using is_transparent = void;
    };
    std::unordered_map<std::string, std::uint64_t, Hash, std::equal_to<>> reasons_;
};

} // namespace lists
