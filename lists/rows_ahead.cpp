#include "rows_ahead.h"

#include "interruptions.h"

namespace lists {
namespace {

// One batch that the reader fills, one waiting, one that the sink takes.
constexpr std::size_t kBatches = 3;

// Thrown on the reading thread once the sink has stopped: it unwinds the reader.
struct SinkStopped {};

} // namespace

void RowsAhead::Batch::clear() {
    texts.clear();
    cells.clear();
    offsets.clear();
    rows.clear();
    lent = std::nullopt;
    last = false;
}

// The sink that the reader fills, on the reading thread: it copies each row into the batch.
class RowsAhead::Filler : public RowSink {
public:
    explicit Filler(RowsAhead& ahead) : ahead_(ahead) {}

    void row(std::span<const Cell> cells, std::string_view joined) override {
        std::size_t bytes = joined.size();
        for (const Cell& cell : cells) {
            bytes += cell.text.size();
        }
        if (bytes > kBatchBytes) {
            lend(cells, joined);
            return;
        }
        for (const Cell& cell : cells) {
            batch_.offsets.push_back(batch_.texts.size());
            batch_.texts.append(cell.text);
            batch_.cells.push_back(cell);
        }
        batch_.rows.push_back({batch_.cells.size(), batch_.texts.size(), joined.size()});
        batch_.texts.append(joined);
        if (batch_.rows.size() >= kBatchRows || batch_.texts.size() >= kBatchBytes) {
            ahead_.hand(batch_, false);
        }
    }

    void end() {
        batch_.last = true;
        ahead_.hand(batch_, false);
    }

private:
    // A huge row is not copied: the sink takes it where the reader holds it, while the reader
    // waits, so that memory holds it once.
    void lend(std::span<const Cell> cells, std::string_view joined) {
        if (!batch_.rows.empty()) {
            ahead_.hand(batch_, false);
        }
        batch_.cells.assign(cells.begin(), cells.end());
        batch_.lent = joined;
        ahead_.hand(batch_, true);
    }

    RowsAhead& ahead_;
    Batch batch_;
};

RowsAhead::RowsAhead(std::unique_ptr<TableReader> reader) : reader_(std::move(reader)) {}

RowsAhead::~RowsAhead() {
    stop();
}

void RowsAhead::readAll(RowSink& sink) {
    free_.resize(kBatches - 1); // the filler has the other
    thread_ = std::thread([this] { read(); });
    try {
        for (bool last = false; !last;) {
            Batch batch = take();
            if (batch.lent) {
                sink.row(batch.cells, *batch.lent);
            } else {
                handRows(batch, sink);
            }
            last = batch.last;
            giveBack(std::move(batch));
        }
    } catch (...) {
        stop();
        throw;
    }
    stop();
}

void RowsAhead::handRows(Batch& batch, RowSink& sink) {
    // Where the batch stays while its rows are handed: the cells can point into its texts (a
    // short text moves with its string).
    for (std::size_t i = 0; i < batch.cells.size(); ++i) {
        batch.cells[i].text =
            std::string_view(batch.texts).substr(batch.offsets[i], batch.cells[i].text.size());
    }
    std::size_t cell = 0;
    for (const Row& row : batch.rows) {
        sink.row(std::span<const Cell>(batch.cells).subspan(cell, row.cellsEnd - cell),
                 std::string_view(batch.texts).substr(row.joined, row.joinedSize));
        cell = row.cellsEnd;
    }
}

void RowsAhead::read() {
    shell::interruptions::leaveToOtherThreads();
    try {
        Filler filler(*this);
        reader_->readAll(filler);
        filler.end();
    } catch (const SinkStopped&) {
    } catch (...) {
        const std::lock_guard lock(mutex_);
        failure_ = std::current_exception();
        changed_.notify_all();
    }
}

// On the reading thread: queues the batch and gives the filler an empty one in its place;
// with `untilTaken`, returns once the sink has done with it.
void RowsAhead::hand(Batch& batch, bool untilTaken) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return stopping_ || !free_.empty(); });
    if (stopping_) {
        throw SinkStopped{};
    }
    Batch empty = std::move(free_.back());
    free_.pop_back();
    full_.push_back(std::move(batch));
    batch = std::move(empty);
    changed_.notify_all();
    if (untilTaken) {
        changed_.wait(lock, [this] { return stopping_ || (full_.empty() && !taking_); });
    }
}

RowsAhead::Batch RowsAhead::take() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !full_.empty() || failure_; });
    if (full_.empty()) {
        std::rethrow_exception(failure_);
    }
    Batch batch = std::move(full_.front());
    full_.pop_front();
    taking_ = true;
    return batch;
}

void RowsAhead::giveBack(Batch batch) {
    batch.clear();
    const std::lock_guard lock(mutex_);
    free_.push_back(std::move(batch));
    taking_ = false;
    changed_.notify_all();
}

void RowsAhead::stop() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

} // namespace lists
