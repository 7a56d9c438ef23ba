#pragma once

#include <string>

// The lists the converter's figures read, written as the programs that make them do: a CSV as
// Italian Excel saves it, an .xlsx as Excel writes it (shared strings, number formats), an .ods
// as LibreOffice writes it. Each has `rows` rows (the header included) of six columns: name,
// ABI, CAB, account (every fourth one with letters), amount and date.
void writeCsvList(const std::string& path, long rows);
void writeXlsxList(const std::string& path, long rows);
void writeOdsList(const std::string& path, long rows);

// A small workbook whose zip headers claim that its sheet takes 4 GB.
void writeClaimingWorkbook(const std::string& path);
