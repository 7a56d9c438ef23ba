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

std::optional<double> plainNumber(std::string_view text) {
    const char* c = text.data();
    const char* const end = c + text.size();
    const bool negative = c < end && *c == '-';
    c += negative ? 1 : 0;
    const char* const first = c;
    // Unsigned: a text of too many digits wraps around harmlessly before it is refused.
    std::uint64_t value = 0;
    const auto digits = [&] {
        const char* const from = c;
        for (; c < end && static_cast<unsigned char>(*c - '0') < 10; ++c) {
            value = value * 10 + static_cast<unsigned>(*c - '0');
        }
        return static_cast<std::size_t>(c - from);
    };
    const std::size_t whole = digits();
    std::size_t fraction = 0;
    if (c < end && *c == '.') {
        ++c;
        fraction = digits();
        // A fraction ending in zero is not how numberText writes the value.
        if (fraction == 0 || c[-1] == '0') {
            return std::nullopt;
        }
    }
    // No leading zero but a lone one, no "-0": neither is numberText's either.
    if (c != end || whole == 0 || whole + fraction > 15 || (*first == '0' && whole > 1) ||
        (negative && value == 0)) {
        return std::nullopt;
    }
    // At most 15 digits: the value and 10^k are exact doubles, and their quotient, rounded
    // once, is the nearest double to the text, as from_chars reads it. Two such texts are
    // never the same double, so the shortest text that reads back is this one.
    static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6, 1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14};
    const double number = static_cast<double>(value) / kPowers[fraction];
    return negative ? -number : number;
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
