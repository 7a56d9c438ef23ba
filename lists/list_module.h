#pragma once

#include "conversion.h"
#include "list_preview.h"

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

// How reading a list's start ended.
struct PreviewOutcome {
    std::optional<ListPreview> preview;
    std::string error; // a ConversionError's message
};

// Runs previewList() and tells how it ended; never throws.
PreviewOutcome previewListOutcome(const std::filesystem::path& input, const std::string& sheet);

// The module's file (without "lib" and the platform's suffix) and its entry points.
inline constexpr char kListModule[] = "bviban-lists";
inline constexpr char kListEntry[] = "bviban_convert_list";
using ListEntry = void (*)(const ConversionRequest& request, const ConversionHooks& hooks,
                           ListOutcome& outcome);
inline constexpr char kPreviewEntry[] = "bviban_preview_list";
using PreviewEntry = void (*)(const std::filesystem::path& input, const std::string& sheet,
                              PreviewOutcome& outcome);

} // namespace lists
