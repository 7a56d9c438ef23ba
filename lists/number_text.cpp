#include "number_text.h"

#include <algorithm>
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
    char digits[400];
    // A whole number that a double holds exactly (most cells of a list): its digits, as the
    // general case below would write them, at a fraction of its cost.
    constexpr double kExact = 9007199254740992.0; // 2^53
    if (std::abs(value) < kExact && value == std::trunc(value)) {
        const std::to_chars_result end =
            std::to_chars(digits, digits + sizeof digits, static_cast<long long>(value));
        return std::string(digits, end.ptr);
    }
    // Fixed notation, shortest form that reads back the same: 1e+20 is written out in full.
    const std::to_chars_result end =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed);
    return std::string(digits, end.ptr);
}

std::optional<double> wholeNumber(std::string_view text) {
    const std::string_view digits = text.starts_with('-') ? text.substr(1) : text;
    if (digits.empty() || digits.size() > 15 || (digits[0] == '0' && text.size() > 1)) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (const char digit : digits) {
        if (digit < '0' || digit > '9') {
            return std::nullopt;
        }
        value = value * 10 + (digit - '0');
    }
    return static_cast<double>(text.size() > digits.size() ? -value : value);
}

std::string durationText(std::chrono::steady_clock::duration elapsed) {
    const double seconds = std::chrono::duration<double>(elapsed).count();
    if (seconds < 59.95) {
        // to_chars, not printf: printf writes the decimal point of the locale the program runs
        // in, which a program using Qt takes from the user's settings.
        char digits[32];
        const std::to_chars_result end =
            std::to_chars(digits, digits + sizeof digits, seconds, std::chars_format::fixed, 1);
        std::string text(digits, end.ptr);
        std::replace(text.begin(), text.end(), '.', ',');
        return text + " s";
    }
    const long long whole = std::llround(seconds);
    return std::to_string(whole / 60) + " min " + std::to_string(whole % 60) + " s";
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
