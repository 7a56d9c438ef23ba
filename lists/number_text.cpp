#include "number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

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

std::string durationText(std::chrono::steady_clock::duration elapsed) {
    const double seconds = std::chrono::duration<double>(elapsed).count();
    char text[48];
    if (seconds < 59.95) {
        std::snprintf(text, sizeof text, "%.1f s", seconds);
        *std::strchr(text, '.') = ',';
    } else {
        const auto whole = static_cast<long long>(std::llround(seconds));
        std::snprintf(text, sizeof text, "%lld min %lld s", whole / 60, whole % 60);
    }
    return text;
}

std::string groupedDigits(std::uint64_t count) {
    const std::string digits = std::to_string(count);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            grouped += '.';
        }
        grouped += digits[i];
    }
    return grouped;
}

} // namespace lists
