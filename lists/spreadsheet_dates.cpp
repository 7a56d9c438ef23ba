#include "spreadsheet_dates.h"

#include <charconv>
#include <chrono>
#include <cmath>

namespace lists::dates {
namespace {

using namespace std::chrono;

constexpr sys_days kEpoch = year(1899) / December / 30;
constexpr double kSecondsPerDay = 86400;

std::optional<int> digits(std::string_view text, std::size_t at, std::size_t count) {
    int value = 0;
    if (at + count > text.size()) {
        return std::nullopt;
    }
    const char* begin = text.data() + at;
    const auto [end, error] = std::from_chars(begin, begin + count, value);
    if (error != std::errc() || end != begin + count) {
        return std::nullopt;
    }
    return value;
}

// Into a buffer, not a string grown a character at a time: a date column has a date a row.
char* twoDigits(char* out, long value) {
    out[0] = static_cast<char>('0' + value / 10 % 10);
    out[1] = static_cast<char>('0' + value % 10);
    return out + 2;
}

} // namespace

std::optional<double> serialOf(std::string_view iso) {
    const auto y = digits(iso, 0, 4);
    const auto m = digits(iso, 5, 2);
    const auto d = digits(iso, 8, 2);
    if (!y || !m || !d || iso[4] != '-' || iso[7] != '-') {
        return std::nullopt;
    }
    const year_month_day date{year(*y), month(static_cast<unsigned>(*m)),
                              day(static_cast<unsigned>(*d))};
    if (!date.ok()) {
        return std::nullopt;
    }
    double serial = static_cast<double>((sys_days(date) - kEpoch).count());
    if (iso.size() == 10) {
        return serial;
    }
    const auto h = digits(iso, 11, 2);
    const auto mi = digits(iso, 14, 2);
    const auto s = digits(iso, 17, 2);
    if (iso[10] != 'T' || !h || !mi || !s || *h > 23 || *mi > 59 || *s > 59) {
        return std::nullopt;
    }
    double seconds = *h * 3600.0 + *mi * 60.0 + *s;
    // Fractions of a second ("…:00.5"): kept, rounded later like any time.
    if (iso.size() > 20 && iso[19] == '.') {
        double fraction = 0;
        std::from_chars(iso.data() + 19, iso.data() + iso.size(), fraction);
        seconds += fraction;
    }
    return serial + seconds / kSecondsPerDay;
}

double from1904(double serial) {
    return serial + 1462;
}

std::string text(double serial) {
    if (!std::isfinite(serial) || serial < 0 || serial > 2958465) { // beyond 31/12/9999
        return "###";
    }
    long long seconds = std::llround(serial * kSecondsPerDay);
    long long days = seconds / 86400;
    seconds %= 86400;
    // Excel counts a 29 February 1900 that never was: serials before it are a day later.
    if (serial < 61 && serial >= 1) {
        days += 1;
    }
    char buffer[32];
    char* out = buffer;
    if (serial >= 1) {
        const year_month_day date{kEpoch + std::chrono::days(days)};
        out = twoDigits(out, static_cast<unsigned>(date.day()));
        *out++ = '/';
        out = twoDigits(out, static_cast<unsigned>(date.month()));
        *out++ = '/';
        out = std::to_chars(out, buffer + 16, static_cast<int>(date.year())).ptr;
        if (seconds == 0) {
            return std::string(buffer, out);
        }
        *out++ = ' ';
    }
    out = twoDigits(out, seconds / 3600);
    *out++ = ':';
    out = twoDigits(out, seconds / 60 % 60);
    if (seconds % 60 != 0 || serial < 1) {
        *out++ = ':';
        out = twoDigits(out, seconds % 60);
    }
    return std::string(buffer, out);
}

bool isDateFormat(int builtinId) {
    return (builtinId >= 14 && builtinId <= 22) || (builtinId >= 45 && builtinId <= 47);
}

bool isDateFormat(std::string_view code) {
    bool quoted = false;
    int bracket = 0;
    for (std::size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (quoted) {
        } else if (c == '\\' || c == '_' || c == '*') {
            ++i; // the next character is shown as it is, or is a fill
        } else if (c == '[') {
            ++bracket;
        } else if (c == ']') {
            --bracket;
        } else if (bracket == 0) {
            switch (c) {
            case 'd':
            case 'D':
            case 'm':
            case 'M':
            case 'y':
            case 'Y':
            case 'h':
            case 'H':
            case 's':
            case 'S':
                return true;
            case ';':
                return false; // a date format has one section that says so
            default:
                break;
            }
        }
    }
    return false;
}

} // namespace lists::dates
