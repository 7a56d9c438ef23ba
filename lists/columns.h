#pragma once

#include "cell.h"
#include "conversion_error.h"
#include "header_names.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace lists {

// What a list is converted for, by the columns it has.
enum class Mode {
    Calcolo,   // ABI, CAB and account: the IBAN is computed
    Verifica,  // IBAN only: it is checked and split
    Confronto, // both: the IBAN is checked and compared with the computed one
};

// The columns as the user names them (--abi, --cab, --conto, --iban): a number from 1, or a
// header's name; empty to find the column by the usual names.
struct ColumnOptions {
    std::string abi, cab, conto, iban;

    const std::string& of(Column column) const;
};

// Where the columns are, and what is added to each row.
struct Layout {
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    Mode mode = Mode::Calcolo;
    std::array<std::size_t, 4> index{kNone, kNone, kNone, kNone}; // by Column
    std::size_t width = 0;                                        // columns before the added ones

    std::size_t of(Column column) const { return index[static_cast<int>(column)]; }
    // The columns the mode reads.
    std::vector<Column> used() const;
    // The titles of the added columns.
    std::vector<std::string_view> titles() const;
};

// Nothing in the first rows names the columns, and the options do not either.
class ColumnsNotFound : public ConversionError {
public:
    ColumnsNotFound(const std::string& message, std::vector<std::string> headers)
        : ConversionError(message), headers_(std::move(headers)) {}
    // The texts of the first row with text: the headers the file seems to have.
    const std::vector<std::string>& headers() const { return headers_; }

private:
    std::vector<std::string> headers_;
};

// Looks for the columns in a row that may be the header: the layout when the row names at
// least one column by its header (and then all that the mode needs); nullopt when it names
// none. Throws ConversionError when it names some but not enough, or not those the options
// ask for.
std::optional<Layout> layoutFromHeader(std::span<const Cell> row, const ColumnOptions& options,
                                       const std::string& fileName);

// The layout when every column is given by its number; nullopt when they are not.
std::optional<Layout> layoutFromNumbers(const ColumnOptions& options, const std::string& fileName);

// Whether a first row is a header for columns given by number: it holds no digit in any of
// the columns read.
bool looksLikeHeader(std::span<const Cell> row, const Layout& layout);

} // namespace lists
