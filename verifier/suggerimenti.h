#pragma once

#include "verifica_iban.h"

#include <string_view>

namespace verifier {

// Fills `suggerimenti` with every valid Italian or San Marino IBAN one slip away from the
// electronic form `elettronico` (one character changed, two adjacent ones swapped, one missing,
// one extra), or, when there are more than `massimo` (at most Suggerimenti::kMassimo), lists
// none and marks them as too many. A slip moves the remainder of MOD 97-10 by an amount
// that the remainders before and after the slipped place determine, so each place is solved
// for directly rather than tried with every character.
void suggerisci(std::string_view elettronico, Suggerimenti& suggerimenti,
                int massimo = Suggerimenti::kMassimo);

} // namespace verifier
