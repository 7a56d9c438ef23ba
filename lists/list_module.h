#pragma once

#include "conversion.h"

#include <optional>
#include <string>
#include <vector>

// The list converter as a module that a program loads only when it first converts a list: the
// main window then starts without the spreadsheet libraries, which cost it memory and time.
namespace lists {

// How a conversion ended, for a caller on the other side of the module's border.
struct ListOutcome {
    std::optional<Summary> summary;   // converted
    std::string error;                // a ConversionError's message
    std::vector<std::string> headers; // after ColumnsNotFound: the header row read, never empty
    bool cancelled = false;

    bool columnsNotFound() const { return !headers.empty(); }
};

// Runs convert() and tells how it ended; never throws.
ListOutcome convertList(const ConversionRequest& request, const ConversionHooks& hooks);

// The module's file (without "lib" and the platform's suffix) and its entry point.
inline constexpr char kListModule[] = "bviban-lists";
inline constexpr char kListEntry[] = "bviban_convert_list";
using ListEntry = void (*)(const ConversionRequest& request, const ConversionHooks& hooks,
                           ListOutcome& outcome);

} // namespace lists
