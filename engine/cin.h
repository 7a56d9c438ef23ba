#pragma once

#include "cin_tabelle.h"

#include <QStringView>

namespace Module1 {

// The CIN letter itself, for callers that place it straight into a BBAN.
char16_t letteraCIN(QStringView abi, QStringView cab, QStringView conto);

// ABI, CAB and account already padded to 5, 5 and 12 characters, as they stand in a BBAN.
inline constexpr qsizetype kCaratteriCIN = cin::kCaratteri;

// The CIN of those kCaratteriCIN characters (digits and upper-case letters only): what a BBAN
// writer uses once the characters are in place, instead of reading the three texts again.
char16_t letteraCINAllineata(QStringView allineati);

} // namespace Module1
