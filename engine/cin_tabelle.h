#pragma once

#include "caratteri.h"

#include <array>
#include <cstdint>

// The Italian CIN rule on characters already in their places, free of Qt: each of the 22
// characters of ABI, CAB and account adds a value to a sum, and the CIN is the letter of the
// sum modulo 26.
namespace Module1::cin {

// ABI, CAB and account padded to 5, 5 and 12 characters, as they stand in a BBAN.
inline constexpr int kCaratteri = 22;

// Italian CIN values for odd positions, by character index (0-9 digits, A-Z 0-25).
// Even positions take the index itself.
inline constexpr std::array<std::uint8_t, 26> kValoriDispari = {
    1, 0, 5, 7, 9, 13, 15, 17, 19, 21, 2, 4, 18, 20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};

// The character index: 0-9 for the digits, 0-25 for the letters; by table, as the sum asks
// for it at every place.
inline constexpr auto kIndici = [] {
    std::array<std::uint8_t, 128> indici{};
    for (int c = 0; c < 10; ++c) {
        indici['0' + c] = static_cast<std::uint8_t>(c);
    }
    for (int c = 0; c < 26; ++c) {
        indici['A' + c] = static_cast<std::uint8_t>(c);
    }
    return indici;
}();

constexpr int indice(char16_t c) {
    return kIndici[c & 0x7F];
}

// What a digit or upper-case letter at `posizione` (from 0) of the 22 adds to the sum: the
// first and every other one (odd positions, counted from 1) by the table, the rest by index.
constexpr int contributo(int posizione, char16_t c) {
    return posizione % 2 == 0 ? kValoriDispari[indice(c)] : indice(c);
}

constexpr char16_t lettera(int somma) {
    return static_cast<char16_t>(u'A' + somma % 26);
}

// The CIN of the kCaratteri digits and upper-case letters from `allineati` on.
template <typename Unita> constexpr char16_t letteraAllineata(const Unita* allineati) {
    int somma = 0;
    for (int k = 0; k < kCaratteri; k += 2) {
        somma += kValoriDispari[indice(alfabeti::unita(allineati[k]))] +
                 indice(alfabeti::unita(allineati[k + 1]));
    }
    return lettera(somma);
}

} // namespace Module1::cin
