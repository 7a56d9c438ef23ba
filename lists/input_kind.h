#pragma once

#include <filesystem>
#include <string>

namespace lists {

enum class InputKind { Text, Xlsx, Ods };

// What the input holds: a table of text (also standard input and pipes), an .xlsx or an .ods
// workbook. Throws ConversionError when it is missing, a folder or an old .xls workbook.
InputKind inputKind(const std::filesystem::path& input, const std::string& name);

} // namespace lists
