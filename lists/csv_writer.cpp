#include "csv_writer.h"

#include "write_failure.h"

#include <cerrno>
#include <cstring>

namespace lists {
namespace {

constexpr std::size_t kBlock = 1024 * 1024;

} // namespace

CsvWriter::CsvWriter(std::FILE* file, std::string fileName, char separator, std::string lineEnd,
                     bool byteOrderMark)
    : file_(file), fileName_(std::move(fileName)), separator_(separator),
      lineEnd_(std::move(lineEnd)), buffer_(kBlock) {
    special_[static_cast<unsigned char>(separator)] = true;
    special_['"'] = true;
    special_['\r'] = true;
    special_['\n'] = true;
    if (byteOrderMark) {
        append("\xEF\xBB\xBF");
    }
}

void CsvWriter::flush() {
    if (used_ > 0 && std::fwrite(buffer_.data(), 1, used_, file_) != used_) {
        writeFailed(fileName_, errno);
    }
    used_ = 0;
}

void CsvWriter::reserve(std::size_t size) {
    if (used_ + size > buffer_.size()) {
        flush();
        if (size > buffer_.size()) {
            buffer_.grow(size, 0);
        }
    }
}

void CsvWriter::append(std::string_view text) {
    if (text.empty()) {
        return;
    }
    reserve(text.size());
    std::memcpy(buffer_.data() + used_, text.data(), text.size());
    used_ += text.size();
}

void CsvWriter::field(std::string_view text) {
    bool quote = false;
    for (const char c : text) {
        quote |= special_[static_cast<unsigned char>(c)];
    }
    if (!quote) {
        append(text);
        return;
    }
    // At worst every character doubles.
    reserve(2 * text.size() + 2);
    char* out = buffer_.data() + used_;
    *out++ = '"';
    for (const char c : text) {
        *out++ = c;
        if (c == '"') {
            *out++ = '"';
        }
    }
    *out++ = '"';
    used_ = static_cast<std::size_t>(out - buffer_.data());
}

void CsvWriter::number(std::string_view digits) {
    if (separator_ != ';' || digits.find('.') == std::string_view::npos) {
        field(digits);
        return;
    }
    std::string comma(digits);
    comma[comma.find('.')] = ',';
    field(comma);
}

void CsvWriter::write(std::span<const Cell> cells, std::string_view joined, std::size_t width,
                      std::span<const std::string_view> added) {
    const char separator[1] = {separator_};
    // The cells before the added ones: all of them, unless the row is wider than `width`.
    const std::size_t own = added.empty() ? cells.size() : std::min(cells.size(), width);
    if (!joined.empty() && own == cells.size()) {
        append(joined);
    } else {
        for (std::size_t i = 0; i < own; ++i) {
            if (i > 0) {
                append({separator, 1});
            }
            cell(cells[i]);
        }
    }
    for (std::size_t i = std::max<std::size_t>(own, 1); i < width; ++i) {
        append({separator, 1});
    }
    for (const std::string_view text : added) {
        append({separator, 1});
        field(text);
    }
    for (std::size_t i = own; i < cells.size(); ++i) {
        append({separator, 1});
        cell(cells[i]);
    }
    append(lineEnd_);
}

void CsvWriter::cell(const Cell& cell) {
    if (cell.kind == Cell::Kind::Number) {
        number(cell.text);
    } else {
        field(cell.text);
    }
}

void CsvWriter::finish() {
    flush();
    if (std::fflush(file_) != 0) {
        writeFailed(fileName_, errno);
    }
}

} // namespace lists
