#pragma once

#include <algorithm>
#include <utility>
#include <vector>

// The q-quantile (0 <= q <= 1), interpolated between the two nearest values.
inline double quantile(std::vector<double> values, double q) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const double position = q * static_cast<double>(values.size() - 1);
    const auto below = static_cast<std::size_t>(position);
    const std::size_t above = std::min(below + 1, values.size() - 1);
    return values[below] +
           (position - static_cast<double>(below)) * (values[above] - values[below]);
}

inline double median(std::vector<double> values) {
    return quantile(std::move(values), 0.5);
}
