#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lists {

// The four columns a list can hold.
enum class Column { Abi, Cab, Conto, Iban };

// How the column is called in messages and in the added columns' titles.
std::string_view columnTitle(Column column);

// A header as compared: lower case, accents off, without spaces and punctuation
// ("Nr. conto corrente" gives "nrcontocorrente", "C/C" gives "cc").
std::string normalisedHeader(std::string_view header);

// The column a (normalised) header names, if it is one of the usual names: "ABI", "Codice
// ABI"; "CAB", "Codice CAB"; "Conto", "C/C", "CC", "Numero conto", "Nr. conto corrente",
// "Conto corrente" and their like; "IBAN", "Codice IBAN".
std::optional<Column> usualHeader(std::string_view normalised);

} // namespace lists
