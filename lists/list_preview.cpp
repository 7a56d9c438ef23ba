#include "list_preview.h"

#include "byte_source.h"
#include "csv_reader.h"
#include "file_names.h"
#include "input_kind.h"
#include "list_converter.h"
#include "ods_reader.h"
#include "text_decoder.h"
#include "xlsx_reader.h"

#include <algorithm>
#include <memory>
#include <optional>

namespace lists {
namespace {

// Thrown by the sink once it has seen enough: the reading stops there.
struct Enough {};

bool blank(std::span<const Cell> cells) {
    return std::all_of(cells.begin(), cells.end(), [](const Cell& c) { return c.text.empty(); });
}

bool namesAColumn(const std::vector<std::string>& row) {
    return std::any_of(row.begin(), row.end(), [](const std::string& text) {
        return usualHeader(normalisedHeader(text)).has_value();
    });
}

// Keeps the rows with text until the header and the rows after it are known.
class PreviewRows : public RowSink {
public:
    void row(std::span<const Cell> cells, std::string_view) override {
        ++number_;
        if (blank(cells)) {
            return;
        }
        std::vector<std::string>& kept = rows_.emplace_back();
        for (const Cell& cell : cells) {
            kept.emplace_back(cell.text);
        }
        numbers_.push_back(number_);
        if (!header_ && namesAColumn(kept)) {
            header_ = rows_.size() - 1;
        }
        const std::size_t searched = static_cast<std::size_t>(ListConverter::kHeaderSearchRows);
        const std::size_t header = header_.value_or(0);
        if ((header_ || rows_.size() >= searched) &&
            rows_.size() > header + ListPreview::kRowsAfterHeader) {
            throw Enough();
        }
    }

    // The header and the rows after it.
    void fill(ListPreview& preview) {
        if (rows_.empty()) {
            return;
        }
        const std::size_t header = header_.value_or(0);
        const std::size_t end = std::min(rows_.size(), header + 1 + ListPreview::kRowsAfterHeader);
        preview.rows.assign(rows_.begin() + static_cast<std::ptrdiff_t>(header),
                            rows_.begin() + static_cast<std::ptrdiff_t>(end));
        preview.headerNumber = numbers_[header];
        nameColumns(preview, header_.has_value());
    }

private:
    static void nameColumns(ListPreview& preview, bool named) {
        const std::vector<std::string>& header = preview.rows.front();
        std::size_t width = 0;
        for (const std::vector<std::string>& row : preview.rows) {
            width = std::max(width, row.size());
        }
        std::vector<std::string> normalised;
        for (const std::string& text : header) {
            normalised.push_back(normalisedHeader(text));
        }
        for (std::size_t i = 0; i < width; ++i) {
            const bool unique =
                i < header.size() && !normalised[i].empty() &&
                std::count(normalised.begin(), normalised.end(), normalised[i]) == 1;
            // A header of digits would be read as a column's number.
            const bool digits =
                i < header.size() && std::all_of(header[i].begin(), header[i].end(),
                                                 [](char c) { return c >= '0' && c <= '9'; });
            preview.columnOptions.push_back(named && unique && !digits ? header[i]
                                                                       : std::to_string(i + 1));
            if (i >= normalised.size()) {
                continue;
            }
            if (const std::optional<Column> column = usualHeader(normalised[i])) {
                std::size_t& found = preview.recognised[static_cast<int>(*column)];
                if (found == Layout::kNone) {
                    found = i;
                }
            }
        }
    }

    std::uint64_t number_ = 0;
    std::vector<std::vector<std::string>> rows_;
    std::vector<std::uint64_t> numbers_;
    std::optional<std::size_t> header_;
};

} // namespace

ListPreview previewList(const std::filesystem::path& input, const std::string& sheet) {
    const std::string name = displayName(input);
    std::unique_ptr<ByteSource> source;
    std::unique_ptr<TextDecoder> decoder;
    std::unique_ptr<TableReader> reader;
    switch (inputKind(input, name)) {
    case InputKind::Text:
        source = std::make_unique<ByteSource>(input);
        // A few rows: bytes that prove not to be UTF-8 are read as Windows-1252 on the spot.
        decoder = std::make_unique<TextDecoder>(*source, std::nullopt, false);
        reader = std::make_unique<CsvReader>(*decoder, name, std::nullopt);
        break;
    case InputKind::Xlsx:
        reader = std::make_unique<XlsxReader>(input, name, SheetChoice(sheet));
        break;
    case InputKind::Ods:
        reader = std::make_unique<OdsReader>(input, name, SheetChoice(sheet));
        break;
    }
    ListPreview preview;
    preview.sheets = reader->sheetNames();
    if (const int shown = SheetChoice(sheet).pick(preview.sheets); shown >= 0) {
        preview.sheet = preview.sheets[static_cast<std::size_t>(shown)];
    }
    PreviewRows rows;
    try {
        reader->readAll(rows);
    } catch (const Enough&) {
    }
    rows.fill(preview);
    return preview;
}

} // namespace lists
