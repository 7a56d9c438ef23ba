#pragma once

#include <string>

// bviban-cli converti on lists generated in `folder` and removed afterwards: CSV to CSV in
// compute mode (ABI, CAB, account) and in verify mode (IBAN, one in a hundred mistyped), `rows`
// rows each, and a sheet of 1,048,576 rows (Excel's most) from .xlsx to .xlsx. Each is one
// run of the real program, on the processor the bench is pinned to; rows per second count the
// data rows over the wall time of the whole run, start and end included.
struct ListRun {
    double rowsPerCpuSecond = 0; // processor time, user and system: what one core can do
    double rowsPerSecond = 0;    // wall-clock
    double peakRssMib = 0;
};

struct ListThroughput {
    ListRun compute;
    ListRun verify;
    ListRun workbook;
};

ListThroughput measureListThroughput(const std::string& cli, const std::string& folder, long rows);
