#pragma once

#include <optional>
#include <string>
#include <string_view>

// Dates as spreadsheets keep them: a serial number of days (Excel, and .xlsx files) or an
// ISO 8601 text (.ods files, and .xlsx cells of type "d").
namespace lists::dates {

// The serial number (days since 30/12/1899, the time as a fraction) of "2024-01-01" or
// "2024-01-01T10:30:00"; nullopt for anything else.
std::optional<double> serialOf(std::string_view iso);

// A serial of a workbook that counts from 1904, as one that counts from 1900.
double from1904(double serial);

// The date as Italians write it: "01/01/2024"; with its time when it has one ("01/01/2024
// 10:30", seconds only when there are some); a serial under 1 is a time of day alone.
std::string text(double serial);

// Whether an .xlsx number format shows a date or a time: one of the built-in ones (14-22,
// 45-47) or a format code with day, month, year, hour or second letters outside quotes and
// brackets.
bool isDateFormat(int builtinId);
bool isDateFormat(std::string_view code);

} // namespace lists::dates
