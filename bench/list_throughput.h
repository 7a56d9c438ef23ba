#pragma once

#include <string>

// bviban-cli converti on lists generated in `folder` and removed afterwards: CSV to CSV in
// compute mode (ABI, CAB, account) and in verify mode (IBAN, one in a hundred mistyped), `rows`
// rows each; a sheet of 1,048,576 rows (Excel's most) of six columns from .xlsx and from .ods
// to CSV, from CSV to .xlsx and from .xlsx to .xlsx; and a small workbook whose zip headers
// claim a 4 GB sheet. Each is a run of the real program; rows per second count the data
// rows over the run's processor time (user and system, which the machine's other work does not
// inflate) and over its wall-clock time, start and end included. A workbook's conversion is the
// best of three runs (rates at their best, the peak at its highest); its reading takes two cores
// at once, so its processor time is the sum of theirs and its rate is the wall-clock one.
struct ListRun {
    double rowsPerCpuSecond = 0;
    double rowsPerSecond = 0;
    double peakRssMib = 0;
};

struct ListThroughput {
    ListRun compute;
    ListRun verify;
    ListRun xlsxToCsv;
    ListRun odsToCsv;
    ListRun csvToXlsx;
    ListRun xlsxToXlsx;
    ListRun claimedSize;
};

ListThroughput measureListThroughput(const std::string& cli, const std::string& folder, long rows);
