#include "list_converter.h"

#include <algorithm>

namespace lists {
namespace {

constexpr std::uint64_t kPollEvery = 4096;
constexpr auto kProgressEvery = std::chrono::milliseconds(100);
constexpr std::size_t kReasonsShown = 5;

bool blank(std::span<const Cell> cells) {
    return std::all_of(cells.begin(), cells.end(), [](const Cell& c) { return c.text.empty(); });
}

} // namespace

ListConverter::ListConverter(const ColumnOptions& options, std::string fileName,
                             const TableReader& reader, TableWriter& writer,
                             const ConversionHooks& hooks, Rerun rerun)
    : options_(options), fileName_(std::move(fileName)), reader_(reader), writer_(writer),
      hooks_(hooks), started_(std::chrono::steady_clock::now()),
      lastProgress_(started_ - kProgressEvery), rerun_(rerun) {}

void ListConverter::row(std::span<const Cell> cells, std::string_view joined) {
    ++rowsRead_;
    if (rowsRead_ % kPollEvery == 0) {
        poll();
    }
    if (layout_) {
        convert(cells, joined, rowsRead_);
        return;
    }
    if (!blank(cells)) {
        if (const std::optional<Layout> found = layoutFromHeader(cells, options_, fileName_)) {
            hold(cells);
            start(*found, held_.size() - 1);
            return;
        }
        ++heldWithText_;
    }
    hold(cells);
    if (heldWithText_ >= kHeaderSearchRows || heldBytes_ > kHeldBytes) {
        decideWithoutHeaderNames();
    }
}

void ListConverter::hold(std::span<const Cell> cells) {
    if (blank(cells) && !held_.empty() && held_.back().texts.empty() &&
        held_.back().cells.size() == cells.size()) {
        ++held_.back().times;
        return;
    }
    HeldRow& held = held_.emplace_back();
    heldBytes_ += sizeof(HeldRow) + cells.size() * sizeof(Cell);
    for (const Cell& cell : cells) {
        held.texts.append(cell.text);
    }
    heldBytes_ += held.texts.size();
    std::size_t offset = 0;
    for (const Cell& cell : cells) {
        Cell copy = cell;
        copy.text = std::string_view(held.texts).substr(offset, cell.text.size());
        offset += cell.text.size();
        held.cells.push_back(copy);
    }
}

// Columns given by number need no header; the first row with text is one when it holds no
// digits where the data would.
void ListConverter::decideWithoutHeaderNames() {
    const auto firstWithText =
        std::find_if(held_.begin(), held_.end(), [](const HeldRow& r) { return !blank(r.cells); });
    if (firstWithText == held_.end()) {
        throw ConversionError("Il file " + fileName_ + " è vuoto: non ha righe da convertire.");
    }
    std::optional<Layout> layout = layoutFromNumbers(options_, fileName_);
    if (!layout) {
        std::vector<std::string> headers;
        for (const Cell& cell : firstWithText->cells) {
            headers.emplace_back(cell.text);
        }
        throw ColumnsNotFound("Nel file " + fileName_ +
                                  " non trovo le colonne ABI, CAB e Conto né la colonna IBAN.",
                              std::move(headers));
    }
    layout->width = std::max(layout->width, firstWithText->cells.size());
    const std::size_t position = static_cast<std::size_t>(firstWithText - held_.begin());
    start(*layout, looksLikeHeader(firstWithText->cells, *layout)
                       ? std::optional<std::size_t>(position)
                       : std::nullopt);
}

// Writes the held rows: those before the header as they are, the header with the titles,
// those after it converted.
void ListConverter::start(const Layout& layout, std::optional<std::size_t> headerRow) {
    layout_ = layout;
    layout_->width = std::max(layout_->width, rerun_.width);
    check_ = std::make_unique<RowCheck>(*layout_);
    const std::vector<std::string_view> titles = layout_->titles();
    writer_.layout(layout_->width, titles.size());
    std::deque<HeldRow> held = std::move(held_);
    held_.clear();
    std::uint64_t number = 0; // the held rows are the first ones
    for (std::size_t i = 0; i < held.size(); ++i) {
        const std::span<const Cell> cells = held[i].cells;
        for (std::uint64_t time = 0; time < held[i].times; ++time) {
            ++number;
            if (headerRow && i < *headerRow) {
                writer_.write(cells, {}, 0, {});
            } else if (headerRow && i == *headerRow) {
                writer_.write(cells, {}, layout_->width, titles);
            } else {
                convert(cells, {}, number);
            }
        }
    }
}

void ListConverter::convert(std::span<const Cell> cells, std::string_view joined,
                            std::uint64_t number) {
    if (blank(cells)) {
        if (!measuring_) {
            writer_.write(cells, joined, 0, {});
        }
        return;
    }
    if (cells.size() > layout_->width && rerun_.possible) {
        measuring_ = true;
        rerun_.width = std::max(rerun_.width, cells.size());
    }
    if (measuring_) {
        return;
    }
    ++dataRows_;
    if (check_->check(cells)) {
        ++rowsOk_;
    } else {
        const auto counted = reasons_.find(check_->kind());
        if (counted != reasons_.end()) {
            ++counted->second;
        } else {
            reasons_.emplace(check_->kind(), 1);
        }
        tellReason(cells, number);
    }
    writer_.write(cells, joined, layout_->width, check_->added());
}

void ListConverter::tellReason(std::span<const Cell> cells, std::uint64_t number) {
    if (!hooks_.rowWithReason || number <= rerun_.told) {
        return;
    }
    rerun_.told = number;
    ReasonRow row;
    row.number = number;
    for (const Column column : layout_->used()) {
        const std::size_t i = layout_->of(column);
        if (i < cells.size()) {
            row.fields[static_cast<int>(column)] = cells[i].text;
        }
    }
    row.reason = check_->reason();
    hooks_.rowWithReason(row);
}

void ListConverter::finish() {
    if (!layout_) {
        decideWithoutHeaderNames();
    }
    if (measuring_) {
        throw WiderTable{rerun_};
    }
    poll();
}

void ListConverter::poll() {
    if (hooks_.cancelled != nullptr && hooks_.cancelled->load(std::memory_order_relaxed)) {
        throw ConversionCancelled();
    }
    const auto now = std::chrono::steady_clock::now();
    if (hooks_.progress && now - lastProgress_ >= kProgressEvery) {
        lastProgress_ = now;
        hooks_.progress(Progress{reader_.progress(), rowsRead_, now - started_});
    }
}

Summary ListConverter::summary() const {
    Summary summary;
    if (layout_) {
        summary.mode = layout_->mode;
    }
    summary.rowsRead = rowsRead_;
    summary.dataRows = dataRows_;
    summary.rowsOk = rowsOk_;
    summary.rowsWithReason = dataRows_ - rowsOk_;
    summary.reasons.assign(reasons_.begin(), reasons_.end());
    std::sort(summary.reasons.begin(), summary.reasons.end(), [](const auto& a, const auto& b) {
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    });
    if (summary.reasons.size() > kReasonsShown) {
        summary.reasons.resize(kReasonsShown);
    }
    summary.elapsed = std::chrono::steady_clock::now() - started_;
    return summary;
}

} // namespace lists
