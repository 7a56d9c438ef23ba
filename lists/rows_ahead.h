#pragma once

#include "cell.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace lists {

// Reads a table on a thread of its own, some rows ahead of the sink that takes them: parsing a
// workbook's XML and converting and writing its rows each take about a core, and a machine has
// two or more. The sink gets the rows in order on the thread that calls readAll(), so the
// conversion, its output and its hooks stay on that thread. A failure of either side stops the
// other: the sink's passes through readAll(); the reader's is thrown there too, after the rows
// read before it.
class RowsAhead : public TableReader {
public:
    // Rows in a batch, and bytes of text after which a batch is handed over however few rows it
    // has. A longer row is not copied but lent (Filler::lend).
    static constexpr std::size_t kBatchRows = 2048;
    static constexpr std::size_t kBatchBytes = 512 * 1024;

    explicit RowsAhead(std::unique_ptr<TableReader> reader);
    ~RowsAhead() override;
    RowsAhead(const RowsAhead&) = delete;
    RowsAhead& operator=(const RowsAhead&) = delete;

    void readAll(RowSink& sink) override;
    double progress() const override { return reader_->progress(); }
    std::vector<std::string> sheetNames() const override { return reader_->sheetNames(); }

private:
    struct Row {
        std::size_t cellsEnd; // in Batch::cells
        std::size_t joined;   // offset in Batch::texts
        std::size_t joinedSize;
    };
    struct Batch {
        std::string texts;
        std::vector<Cell> cells;          // their texts point into `texts` once taken
        std::vector<std::size_t> offsets; // of the cells' texts in `texts`
        std::vector<Row> rows;
        // A huge row's joined text, when the batch is that row alone, its cells pointing into
        // the reader's memory.
        std::optional<std::string_view> lent;
        bool last = false; // the table's end: no rows follow
        void clear();
    };
    class Filler;
    friend class Filler;

    void read();
    void hand(Batch& batch, bool untilTaken);
    void handRows(Batch& batch, RowSink& sink);
    Batch take();
    void giveBack(Batch batch);
    void stop();

    std::unique_ptr<TableReader> reader_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Batch> free_;
    std::deque<Batch> full_;
    bool taking_ = false;   // the sink works on a batch
    bool stopping_ = false; // the sink has failed or has all it wants
    std::exception_ptr failure_;
    std::thread thread_;
};

} // namespace lists
