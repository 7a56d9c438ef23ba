#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lists {

// A spreadsheet number as a list expects to read it: a whole number as its integer digits
// (5428, 123456789012), any other in plain decimal notation (12.5), never with an exponent.
std::string numberText(double value);

// A number written as numberText writes it, in at most 15 digits ("5428", "-12", "0", "8334.75",
// "0.05"), as most cells of a list are: its value, and numberText(value) is the text itself.
// Else nullopt.
std::optional<double> plainNumber(std::string_view text);

// A time as the summary gives it: "0,8 s", "2 min 5 s".
std::string durationText(std::chrono::steady_clock::duration elapsed);

// A count as Italian writes it: 1234567 as "1.234.567".
std::string groupedDigits(std::uint64_t count);

} // namespace lists
