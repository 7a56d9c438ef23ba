#pragma once

#include <filesystem>
#include <string>

namespace lists {

enum class InputKind { Text, Xlsx, Ods };

// What the input is, by its first bytes, not by its name: a workbook renamed .csv is still a
// workbook. Refuses (ConversionError) what no reader reads: a folder, an old .xls, a workbook
// protected by a password (an encrypted .xlsx is no zip but a compound file).
InputKind inputKind(const std::filesystem::path& input, const std::string& name);

} // namespace lists
