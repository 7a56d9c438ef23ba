#pragma once

#include <cstdint>
#include <string>

namespace lists {

// What one sheet holds at most, in Excel and in LibreOffice alike: rows beyond are dropped when
// read and refused when written.
inline constexpr std::uint64_t kSheetRows = 1048576;
inline constexpr std::uint64_t kSheetColumns = 16384;
// Characters in one cell; an .xlsx output refuses a longer text.
inline constexpr std::uint64_t kCellCharacters = 32767;
// The bytes of one row's texts, read from any kind of file: a longer one is refused, so that
// memory follows what a list holds, not what a hostile file claims.
inline constexpr std::uint64_t kRowBytes = 16 * 1024 * 1024;
// An .xlsx file's table of shared strings, the one part held whole: its texts and their index.
inline constexpr std::uint64_t kSharedStringsBytes = 256 * 1024 * 1024;

// "B12": the column's letters and the row's number from 1, as a spreadsheet names a cell.
std::string cellName(std::uint64_t column, std::uint64_t row);

} // namespace lists
