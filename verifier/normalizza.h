#pragma once

#include "verifica_iban.h"

#include <string>
#include <string_view>

namespace verifier {

// Writes into `elettronico` the letters and digits of `testo`, upper case, without the blanks
// and separators that people paste (spaces, tabs, no-break and zero-width spaces; hyphens and
// dots between groups) and without a leading label "IBAN" or "IBAN:". False, with `rifiuto`
// filled, at the first character that has no place in an IBAN. Normalising the result again
// gives it back unchanged.
bool normalizza(std::string_view testo, std::string& elettronico, Rifiuto& rifiuto);

} // namespace verifier
