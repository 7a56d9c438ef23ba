#include "csv_writer.h"

#include "conversion_error.h"
#include "system_reason.h"

#include <cerrno>
#include <cstring>

namespace lists {
namespace {

constexpr std::size_t kBlock = 1024 * 1024;

[[noreturn]] void writeFailed(const std::string& fileName, int cause) {
    if (cause == ENOSPC) {
        throw ConversionError("Il disco è pieno: impossibile scrivere il file " + fileName + ".");
    }
    throw ConversionError("Errore di scrittura nel file " + fileName + ": " +
                          shell::systemReason(cause) + ".");
}

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
    if (!joined.empty()) {
        append(joined);
    } else {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i > 0) {
                append({separator, 1});
            }
            if (cells[i].kind == Cell::Kind::Number) {
                number(cells[i].text);
            } else {
                field(cells[i].text);
            }
        }
    }
    for (std::size_t i = std::max<std::size_t>(cells.size(), 1); i < width; ++i) {
        append({separator, 1});
    }
    for (const std::string_view text : added) {
        append({separator, 1});
        field(text);
    }
    append(lineEnd_);
}

void CsvWriter::finish() {
    flush();
    if (std::fflush(file_) != 0) {
        writeFailed(fileName_, errno);
    }
}

} // namespace lists
