#pragma once

#include <cstdint>

namespace lists {

// What one sheet holds at most, in Excel and in LibreOffice alike: rows beyond are dropped when
// read and refused when written.
inline constexpr std::uint64_t kSheetRows = 1048576;
inline constexpr std::uint64_t kSheetColumns = 16384;
// Characters in one cell; libxlsxwriter refuses a longer text.
inline constexpr std::uint64_t kCellCharacters = 32767;

} // namespace lists
