#include "columns.h"

#include <algorithm>

namespace lists {
namespace {

constexpr std::array<Column, 4> kColumns = {Column::Abi, Column::Cab, Column::Conto, Column::Iban};

std::optional<std::size_t> givenNumber(const std::string& given) {
    if (given.empty() || given.size() > 5 ||
        !std::all_of(given.begin(), given.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    const int number = std::stoi(given);
    return number >= 1 ? std::optional<std::size_t>(number - 1) : std::nullopt;
}

std::string optionName(Column column) {
    switch (column) {
    case Column::Abi:
        return "--abi";
    case Column::Cab:
        return "--cab";
    case Column::Conto:
        return "--conto";
    case Column::Iban:
        return "--iban";
    }
    return {};
}

// The mode the found columns allow, or the failure that says what is missing: for columns
// looked for in a header row, the columns not found.
Layout complete(Layout layout, const std::string& fileName, std::span<const Cell> header = {}) {
    const bool iban = layout.of(Column::Iban) != Layout::kNone;
    std::vector<std::string> missing;
    for (const Column column : {Column::Abi, Column::Cab, Column::Conto}) {
        if (layout.of(column) == Layout::kNone) {
            missing.emplace_back(columnTitle(column));
        }
    }
    if (missing.empty()) {
        layout.mode = iban ? Mode::Confronto : Mode::Calcolo;
    } else if (iban) {
        layout.mode = Mode::Verifica;
        for (const Column column : {Column::Abi, Column::Cab, Column::Conto}) {
            layout.index[static_cast<int>(column)] = Layout::kNone;
        }
    } else {
        std::string list;
        for (std::size_t i = 0; i < missing.size(); ++i) {
            list += (i == 0 ? "" : i + 1 == missing.size() ? " e " : ", ") + missing[i];
        }
        const std::string message = "Nel file " + fileName + " manca" +
                                    (missing.size() > 1 ? "no le colonne " : " la colonna ") +
                                    list +
                                    ": per calcolare l'IBAN servono ABI, CAB e Conto; per "
                                    "verificarlo basta la colonna IBAN.";
        if (header.empty()) {
            throw ConversionError(message);
        }
        std::vector<std::string> headers;
        for (const Cell& cell : header) {
            headers.emplace_back(cell.text);
        }
        throw ColumnsNotFound(message, std::move(headers));
    }
    for (const Column column : layout.used()) {
        layout.width = std::max(layout.width, layout.of(column) + 1);
    }
    return layout;
}

} // namespace

const std::string& ColumnOptions::of(Column column) const {
    switch (column) {
    case Column::Abi:
        return abi;
    case Column::Cab:
        return cab;
    case Column::Conto:
        return conto;
    case Column::Iban:
        break;
    }
    return iban;
}

std::vector<Column> Layout::used() const {
    switch (mode) {
    case Mode::Calcolo:
        return {Column::Abi, Column::Cab, Column::Conto};
    case Mode::Verifica:
        return {Column::Iban};
    case Mode::Confronto:
        break;
    }
    return {Column::Abi, Column::Cab, Column::Conto, Column::Iban};
}

std::vector<std::string_view> Layout::titles() const {
    switch (mode) {
    case Mode::Calcolo:
        return {"IBAN", "Esito"};
    case Mode::Verifica:
        return {"Esito", "ABI", "CAB", "Conto"};
    case Mode::Confronto:
        break;
    }
    return {"IBAN calcolato", "Esito"};
}

std::optional<Layout> layoutFromHeader(std::span<const Cell> row, const ColumnOptions& options,
                                       const std::string& fileName) {
    Layout layout;
    bool named = false;
    std::vector<std::string> normalised;
    normalised.reserve(row.size());
    for (const Cell& cell : row) {
        normalised.push_back(normalisedHeader(cell.text));
    }
    for (const Column column : kColumns) {
        const std::string& given = options.of(column);
        if (const std::optional<std::size_t> number = givenNumber(given)) {
            layout.index[static_cast<int>(column)] = *number;
            continue;
        }
        const std::string wanted = normalisedHeader(given);
        for (std::size_t i = 0; i < normalised.size(); ++i) {
            const bool match = given.empty() ? usualHeader(normalised[i]) == column
                                             : !wanted.empty() && normalised[i] == wanted;
            if (match) {
                layout.index[static_cast<int>(column)] = i;
                named = true;
                break;
            }
        }
    }
    if (!named) {
        return std::nullopt;
    }
    for (const Column column : kColumns) {
        const std::string& given = options.of(column);
        if (!given.empty() && layout.of(column) == Layout::kNone) {
            throw ConversionError("Nel file " + fileName + " non c'è la colonna «" + given +
                                  "» indicata con " + optionName(column) + ".");
        }
    }
    Layout found = complete(layout, fileName, row);
    found.width = std::max(found.width, row.size());
    return found;
}

std::optional<Layout> layoutFromNumbers(const ColumnOptions& options, const std::string& fileName) {
    Layout layout;
    for (const Column column : kColumns) {
        const std::string& given = options.of(column);
        if (given.empty()) {
            continue;
        }
        const std::optional<std::size_t> number = givenNumber(given);
        if (!number) {
            return std::nullopt;
        }
        layout.index[static_cast<int>(column)] = *number;
    }
    const bool computable = layout.of(Column::Abi) != Layout::kNone &&
                            layout.of(Column::Cab) != Layout::kNone &&
                            layout.of(Column::Conto) != Layout::kNone;
    if (!computable && layout.of(Column::Iban) == Layout::kNone) {
        return std::nullopt;
    }
    return complete(layout, fileName);
}

bool looksLikeHeader(std::span<const Cell> row, const Layout& layout) {
    for (const Column column : layout.used()) {
        const std::size_t i = layout.of(column);
        if (i < row.size() && std::any_of(row[i].text.begin(), row[i].text.end(),
                                          [](char c) { return c >= '0' && c <= '9'; })) {
            return false;
        }
    }
    return true;
}

} // namespace lists
