#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <QString>

#include <cstdlib>
#include <string>

// A property that does not hold is a finding: abort, so that libFuzzer keeps the input.
inline void check(bool condition) {
    if (!condition)
        std::abort();
}

// The next text of the input, as UTF-8 (invalid sequences become replacement characters).
inline QString textFrom(FuzzedDataProvider& data) {
    const std::string bytes = data.ConsumeRandomLengthString();
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
