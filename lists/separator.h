#pragma once

#include <string_view>

namespace lists {

// The separators a list may use, in the order that breaks ties: Italian Excel's ";" first.
inline constexpr std::string_view kSeparators = ";\t,|";

// The separator of a CSV or TSV text, judged on its first lines (`sample`): the one that
// splits most lines into the same number of fields, two or more. ";" when none does.
char detectSeparator(std::string_view sample);

} // namespace lists
