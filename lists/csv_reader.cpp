#include "csv_reader.h"

#include "conversion_error.h"
#include "separator.h"
#include "text_decoder.h"

#include <cstring>

namespace lists {
namespace {

constexpr std::size_t kBlock = 1024 * 1024;
constexpr std::size_t kSample = 64 * 1024;

// Line ends within [from, to): LF, and CR not followed by LF.
std::uint64_t lineBreaksIn(const char* from, const char* to) {
    std::uint64_t breaks = 0;
    for (const char* p = from; p < to; ++p) {
        if (*p == '\n' || (*p == '\r' && (p + 1 == to || p[1] != '\n'))) {
            ++breaks;
        }
    }
    return breaks;
}

} // namespace

CsvReader::CsvReader(TextDecoder& decoder, std::string fileName, std::optional<char> separator)
    : decoder_(decoder), fileName_(std::move(fileName)), buffer_(kBlock + 1) {
    while (end_ < kSample && fill()) {
    }
    const std::string_view sample(buffer_.data(), std::min(end_, kSample));
    separator_ = separator.value_or(detectSeparator(sample));
    const std::size_t lineEnd = sample.find_first_of("\r\n");
    lineEnd_ = lineEnd != std::string_view::npos && sample[lineEnd] == '\n' ? "\n" : "\r\n";
    kinds_[static_cast<unsigned char>(separator_)] = Separator;
    kinds_['"'] = Quote;
    kinds_['\r'] = CarriageReturn;
    kinds_['\n'] = LineFeed;
}

// Moves what is left to the front and decodes more after it; false at the end of the text.
bool CsvReader::fill() {
    if (ended_) {
        return false;
    }
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
    if (buffer_.size() - 1 - end_ < TextDecoder::kMinimumCapacity) {
        if (buffer_.size() - 1 >= kMaximumRecord) {
            throw ConversionError("Nel file " + fileName_ + " la riga " +
                                  std::to_string(nextLine_) +
                                  " non finisce entro 16 MB: probabilmente un campo tra "
                                  "virgolette non si chiude.");
        }
        buffer_.grow(2 * (buffer_.size() - 1) + 1, end_);
    }
    const std::size_t got = decoder_.decode(buffer_.data() + end_, buffer_.size() - 1 - end_);
    end_ += got;
    if (got == 0) {
        ended_ = true;
    }
    return got > 0;
}

void CsvReader::readAll(RowSink& sink) {
    while (next()) {
        cells_.resize(fields_.size());
        for (std::size_t i = 0; i < fields_.size(); ++i) {
            cells_[i].text = fields_[i];
        }
        sink.row(cells_, joined_);
    }
}

double CsvReader::progress() const {
    return decoder_.progress();
}

bool CsvReader::next() {
    for (;;) {
        if (begin_ == end_ && ended_) {
            return false;
        }
        if (parse() == Parsed::Record) {
            return true;
        }
        fill();
    }
}

CsvReader::Parsed CsvReader::endRecord(const char* q, char** recordEnd, std::uint64_t* lineBreaks) {
    char* const end = buffer_.data() + end_;
    if (q == end) {
        if (!ended_) {
            return Parsed::NeedMore;
        }
        *recordEnd = end;
        return Parsed::Record;
    }
    const char* after = q + 1;
    if (*q == '\r') {
        if (after == end && !ended_) {
            return Parsed::NeedMore; // an LF may follow in the next block
        }
        if (after < end && *after == '\n') {
            ++after;
        }
    }
    *recordEnd = const_cast<char*>(after);
    ++*lineBreaks;
    return Parsed::Record;
}

CsvReader::Parsed CsvReader::parse() {
    char* const begin = buffer_.data() + begin_;
    char* const end = buffer_.data() + end_;
    *end = '\n'; // the sentinel: every scan stops at the end of the text
    fields_.clear();
    const char* q = begin;
    char* recordEnd = nullptr;
    std::uint64_t lineBreaks = 0;
    bool quotes = false;
    for (;;) {
        if (*q == '"' && q != end) {
            // The rare case: checked whole first, then read with its quotes undone in place.
            if (parseQuoted<false>(&recordEnd, &lineBreaks) == Parsed::NeedMore) {
                return Parsed::NeedMore;
            }
            lineBreaks = 0;
            parseQuoted<true>(&recordEnd, &lineBreaks);
            quotes = true;
            break;
        }
        const char* const start = q;
        for (;;) {
            while (kinds_[static_cast<unsigned char>(*q)] == Plain) {
                ++q;
            }
            if (*q != '"') {
                break;
            }
            quotes = true; // a quote within a field is a character, but needs quoting when written
            ++q;
        }
        fields_.emplace_back(start, static_cast<std::size_t>(q - start));
        if (*q == separator_ && q != end) {
            ++q;
            continue;
        }
        if (endRecord(q, &recordEnd, &lineBreaks) == Parsed::NeedMore) {
            return Parsed::NeedMore;
        }
        break;
    }
    joined_ =
        quotes ? std::string_view()
               : std::string_view(begin, static_cast<std::size_t>(fields_.back().data() +
                                                                  fields_.back().size() - begin));
    begin_ = static_cast<std::size_t>(recordEnd - buffer_.data());
    nextLine_ += lineBreaks;
    return Parsed::Record;
}

// Without `Write` only finds where the record ends, touching nothing, so that a record cut by
// the block's end can be read again from the start; with it, the quotes are undone in place.
template <bool Write>
CsvReader::Parsed CsvReader::parseQuoted(char** recordEnd, std::uint64_t* lineBreaks) {
    char* const end = buffer_.data() + end_;
    if (Write) {
        fields_.clear();
    }
    char* q = buffer_.data() + begin_;
    for (;;) {
        char* const start = q;
        char* w = q; // where the field's next character goes
        if (*q == '"' && q != end) {
            ++q;
            for (;;) {
                char* const quote = static_cast<char*>(std::memchr(q, '"', end - q));
                if (quote == nullptr) {
                    if (!ended_) {
                        return Parsed::NeedMore;
                    }
                    throw ConversionError("Nel file " + fileName_ + " un campo della riga " +
                                          std::to_string(nextLine_ + *lineBreaks) +
                                          " si apre con le virgolette e non si chiude.");
                }
                if (Write) {
                    *lineBreaks += lineBreaksIn(q, quote);
                    std::memmove(w, q, quote - q);
                    w += quote - q;
                }
                q = quote + 1;
                if (*q == '"' && q != end) {
                    if (Write) {
                        *w++ = '"';
                    }
                    ++q;
                    continue;
                }
                if (q == end && !ended_) {
                    return Parsed::NeedMore; // the quote may be the first of a doubled pair
                }
                break;
            }
        }
        char* const literal = q;
        for (;;) {
            while (kinds_[static_cast<unsigned char>(*q)] == Plain) {
                ++q;
            }
            if (*q != '"') {
                break;
            }
            ++q; // a quote after the closing one, or within an unquoted field, is a character
        }
        if (Write) {
            std::memmove(w, literal, q - literal);
            w += q - literal;
            fields_.emplace_back(start, static_cast<std::size_t>(w - start));
        }
        if (*q == separator_ && q != end) {
            ++q;
            continue;
        }
        return endRecord(q, recordEnd, lineBreaks);
    }
}

} // namespace lists
