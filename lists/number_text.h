#pragma once

#include <string>

namespace lists {

// A spreadsheet number as a list expects to read it: a whole number as its integer digits
// (5428, 123456789012), any other in plain decimal notation (12.5), never with an exponent.
std::string numberText(double value);

} // namespace lists
