// Any bytes read as a CSV list and converted: every record read gives exactly one output row,
// in order; each output row holds its record's fields exactly as they were decoded, in order
// (those of a record wider than the header partly after the added columns); and
// what the writer writes reads back as the very fields it was given.

#include "byte_source.h"
#include "conversion_error.h"
#include "csv_reader.h"
#include "csv_writer.h"
#include "list_converter.h"
#include "text_decoder.h"

#include "fuzz_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::vector<std::string>>;

// A memory stream that is closed, and its bytes freed, however the scope is left.
struct Stream {
    std::FILE* file = nullptr;
    char* bytes = nullptr;
    std::size_t size = 0;

    Stream(const void* data, std::size_t length)
        : file(fmemopen(const_cast<void*>(data), length, "rb")) {}
    Stream() : file(open_memstream(&bytes, &size)) {}
    ~Stream() {
        if (file != nullptr)
            std::fclose(file);
        std::free(bytes);
    }
    std::string text() {
        std::fclose(file);
        file = nullptr;
        return std::string(bytes, size);
    }
};

// The records of `bytes`, and the separator they were read with. The whole input is read, and
// a failure comes only after some of it: a stream that gave nothing would test nothing.
Rows readRows(const void* bytes, std::size_t size, std::optional<char> separator, char* used) {
    Stream stream(bytes, size);
    lists::ByteSource source(stream.file, "fuzz");
    try {
        lists::TextDecoder decoder(source, std::nullopt, false);
        lists::CsvReader reader(decoder, "fuzz", separator);
        *used = reader.separator();
        Rows rows;
        while (reader.next())
            rows.emplace_back(reader.fields().begin(), reader.fields().end());
        check(source.bytesRead() == size);
        return rows;
    } catch (const lists::ConversionError&) {
        check(source.bytesRead() > 0);
        throw;
    }
}

// Whether an output row holds the record's fields in order: all of them before the added
// columns, or, for a record wider than the header, its first ones before and the rest after.
bool keepsItsFields(const std::vector<std::string>& record, const std::vector<std::string>& row) {
    if (row.size() < record.size())
        return false;
    for (std::size_t split = record.size() + 1; split-- > 0;) {
        const std::size_t tail = record.size() - split;
        if (std::equal(record.begin(), record.begin() + split, row.begin()) &&
            std::equal(record.end() - tail, record.end(), row.end() - tail))
            return true;
    }
    return false;
}

// Runs `write` on a CSV writer and gives back the bytes it wrote.
template <typename Write> std::string written(char separator, Write write) {
    Stream stream;
    {
        lists::CsvWriter writer(stream.file, "fuzz", separator, "\r\n", true);
        write(writer);
        writer.finish();
    }
    return stream.text();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    if (size == 0)
        return 0;
    char separator = ';';
    Rows records;
    try {
        records = readRows(bytes, size, std::nullopt, &separator);
    } catch (const lists::ConversionError&) {
        return 0; // binary data, or a quote that never closes
    }

    // The records converted, with the columns named by number so that every input has a layout.
    std::string converted;
    try {
        converted = written(separator, [&](lists::CsvWriter& writer) {
            Stream input(bytes, size);
            lists::ByteSource source(input.file, "fuzz");
            lists::TextDecoder decoder(source, std::nullopt, false);
            lists::CsvReader reader(decoder, "fuzz", std::nullopt);
            lists::ColumnOptions columns{"1", "2", "3", ""};
            lists::ConversionHooks hooks;
            lists::ListConverter converter(columns, "fuzz", reader, writer, hooks);
            reader.readAll(converter);
            converter.finish();
        });
    } catch (const lists::ConversionError&) {
        return 0; // no row with text
    }
    char again = 0;
    const Rows output = readRows(converted.data(), converted.size(), separator, &again);
    check(output.size() == records.size());
    for (std::size_t i = 0; i < records.size(); ++i)
        check(keepsItsFields(records[i], output[i]));

    // Written as they are, the records read back unchanged.
    const std::string copy = written(separator, [&](lists::CsvWriter& writer) {
        for (const std::vector<std::string>& record : records) {
            std::vector<lists::Cell> cells(record.size());
            for (std::size_t k = 0; k < record.size(); ++k)
                cells[k].text = record[k];
            writer.write(cells, {}, 0, {});
        }
    });
    check(readRows(copy.data(), copy.size(), separator, &again) == records);
    return 0;
}
