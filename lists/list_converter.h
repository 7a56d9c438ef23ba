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

// What a conversion that starts over knows from the run before it.
struct Rerun {
    bool possible = false;  // the input can be read again and nothing has gone out yet
    std::size_t width = 0;  // the widest row of the table, found by the run before
    std::uint64_t told = 0; // rows whose reasons the run before gave to the hooks
};

// Thrown, once the whole table is read, when a data row was wider than the header and the
// conversion can start over: the added columns then go after the widest row.
struct WiderTable {
    Rerun rerun;
};

// Takes the rows as they are read and writes them with their added columns. The first rows
// are held until the header is found (or it is clear there is none): the rows before it are
// written as they are, the header gets the added columns' titles, and every later row that is
// not blank is converted. Nothing is dropped, reordered or changed. The added columns go after
// the widest row: a row wider than the header makes the conversion start over when it can
// (WiderTable); otherwise (standard input) its extra cells follow the added ones.
class ListConverter : public RowSink {
public:
    // The header is looked for in this many rows with text.
    static constexpr int kHeaderSearchRows = 10;
    // The rows held meanwhile take at most this many bytes: beyond, the header is looked for in
    // those only. Blank rows alike in a row are held as one.
    static constexpr std::size_t kHeldBytes = 16 * 1024 * 1024;

    ListConverter(const ColumnOptions& options, std::string fileName, const TableReader& reader,
                  TableWriter& writer, const ConversionHooks& hooks, Rerun rerun = {});

    void row(std::span<const Cell> cells, std::string_view joined) override;
    // After the last row: decides for a short file and writes what is still held.
    void finish();

    // The counts so far; the mode once decided.
    Summary summary() const;

private:
    struct HeldRow {
        std::string texts;
        std::vector<Cell> cells;
        std::uint64_t times = 1; // a blank row, as many times as it came
    };

    void hold(std::span<const Cell> cells);
    void decideWithoutHeaderNames();
    void start(const Layout& layout, std::optional<std::size_t> headerRow);
    // `number`: the row's, as a spreadsheet numbers it.
    void convert(std::span<const Cell> cells, std::string_view joined, std::uint64_t number);
    void tellReason(std::span<const Cell> cells, std::uint64_t number);
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
    std::size_t heldBytes_ = 0;
    Rerun rerun_;
    bool measuring_ = false; // only the width of the rest is wanted, for the rerun
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
