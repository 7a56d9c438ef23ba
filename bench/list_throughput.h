#pragma once

#include <string>

// bviban-cli converti on lists generated in `folder` and removed afterwards: CSV to CSV in
// compute mode (ABI, CAB, account) and in verify mode (IBAN, one in a hundred mistyped), `rows`
// rows each; a sheet of 1,048,576 rows (Excel's most) of six columns from .xlsx and from .ods
// to CSV, from CSV to .xlsx and from .xlsx to .xlsx; and a small workbook whose zip headers
// claim a 4 GB sheet. Each is one run of the real program; rows per second count the data
// rows over the run's processor time (user and system, which the machine's other work does not
// inflate) and over its wall-clock time, start and end included.
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
