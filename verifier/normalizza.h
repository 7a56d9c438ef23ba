#pragma once

#include "verifica_iban.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace verifier {

// Where the IBAN's own characters begin in the text, past the labels before it: the electronic
// form's first character is the letter or digit number `tolti` (from 0) from `byte` on.
struct Inizio {
    std::size_t byte = 0;
    std::uint32_t caratteri = 0; // the characters before `byte`
    std::size_t tolti = 0;       // letters of a label written apart ("I B A N"), dropped
};

// Writes into `elettronico` the letters and digits of `testo`, upper case, without the blanks
// and separators that people paste (spaces, tabs, no-break and zero-width spaces; hyphens and
// dots between groups) and without the labels before it ("IBAN", "IBAN:", "Codice IBAN:",
// "IBAN n."). False, with `rifiuto` filled, at the first character that has no place in an
// IBAN. Normalising the result again gives it back unchanged.
bool normalizza(std::string_view testo, std::string& elettronico, Rifiuto& rifiuto, Inizio& inizio);

// The position, from 1 in characters of `testo`, of the electronic form's character `indice`.
std::uint32_t posizioneNelTesto(std::string_view testo, const Inizio& inizio, std::size_t indice);

// The blanks that normalizza drops between words: spaces, tabs, the Unicode spaces. Returns the
// first byte past them, counting them in `caratteri`.
const unsigned char* dopoGliSpazi(const unsigned char* p, const unsigned char* fine,
                                  std::uint32_t& caratteri);

} // namespace verifier
