#pragma once

#include "columns.h"
#include "conversion_error.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lists {

struct ConversionRequest {
    std::filesystem::path input;  // "-" for standard input
    std::filesystem::path output; // empty: defaultOutput(input); "-" for standard output
    std::string sheet;            // of a workbook: "" for the first, a number from 1, or a name
    ColumnOptions columns;
    bool overwrite = false; // replace a file that has the output's name
    // Give the output, when its name is taken, the first free one among "NAME (2).ext",
    // "NAME (3).ext"... chosen as it is put in place, so that two conversions of one list at
    // once both keep their result. Summary::output says which.
    bool freeName = false;
};

struct Progress {
    double fraction = -1; // from 0 to 1; negative when unknown (standard input)
    std::uint64_t rows = 0;
    std::chrono::steady_clock::duration elapsed{};
};

// A data row whose Esito is a reason, valid during the call only: its number as a spreadsheet
// shows it (from 1, every row counted), its ABI, CAB, account and IBAN as they stand (by
// Column; empty where the mode reads none), and the reason.
struct ReasonRow {
    std::uint64_t number = 0;
    std::array<std::string_view, 4> fields;
    std::string_view reason;
};

struct ConversionHooks {
    // Called about ten times a second, on the converting thread.
    std::function<void(const Progress&)> progress;
    // Called for each data row that gets a reason, in order, on the converting thread.
    std::function<void(const ReasonRow&)> rowWithReason;
    // Polled between rows: true stops the conversion with ConversionCancelled.
    const std::atomic<bool>* cancelled = nullptr;
};

struct Summary {
    std::filesystem::path output;
    Mode mode = Mode::Calcolo;
    std::uint64_t rowsRead = 0;       // every row, headers and blank rows included
    std::uint64_t dataRows = 0;       // rows after the header that are not blank
    std::uint64_t rowsOk = 0;         // data rows whose Esito is OK
    std::uint64_t rowsWithReason = 0; // data rows whose Esito holds a reason
    // The lines of a UTF-8 text read as Windows-1252: the first ones, and how many in all.
    std::vector<std::uint64_t> windows1252Lines;
    std::uint64_t windows1252LineCount = 0;
    // The five most frequent kinds of reason (RowCheck::kind()), with their counts.
    std::vector<std::pair<std::string, std::uint64_t>> reasons;
    std::chrono::steady_clock::duration elapsed{};
};

// Converts a list: every row of the input, in order and with its own fields unchanged, gets
// the added columns of its mode. The output is complete under its name when this returns;
// on a ConversionError or ConversionCancelled nothing is left under that name.
Summary convert(const ConversionRequest& request, const ConversionHooks& hooks = {});

// NAME-IBAN.csv beside NAME.csv (a .tsv or .txt keeps its extension), NAME-IBAN.xlsx beside
// a workbook; "-" (standard output) for standard input.
std::filesystem::path defaultOutput(const std::filesystem::path& input);

// The name's extension in lower case: ".xlsx".
std::string lowerExtension(const std::filesystem::path& path);

// "NAME (2).ext" for number 2, beside `wanted` ("NAME.ext"): the names a free name is chosen
// among.
std::filesystem::path numberedName(const std::filesystem::path& wanted, int number);

// The summary in Italian, one fact a line: rows read, rows OK, rows with a reason and the most
// frequent reasons, the time.
std::string summaryText(const Summary& summary);

} // namespace lists
