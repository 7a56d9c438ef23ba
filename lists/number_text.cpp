#include "number_text.h"

#include <charconv>
#include <cmath>

namespace lists {

std::string numberText(double value) {
    if (!std::isfinite(value)) {
        return std::isnan(value) ? "NaN" : (value > 0 ? "inf" : "-inf");
    }
    if (value == 0) {
        return "0"; // also for -0
    }
    // Fixed notation, shortest form that reads back the same: 1e+20 is written out in full.
    char digits[400];
    const std::to_chars_result end =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed);
    return std::string(digits, end.ptr);
}

} // namespace lists
