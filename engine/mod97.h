#pragma once

#include "caratteri.h"

#include <array>
#include <cstdint>

// ISO 7064 MOD 97-10 as IBANs use it: the characters written as decimal digits (a digit as
// itself, a letter A to Z as 10 to 35) and the number so written taken modulo 97. Every
// character handed to these routines must be a digit or an upper-case letter. Free of Qt.
namespace Module1::mod97 {

inline constexpr int kModulo = 97;

// The number a character is written as: 0 to 9, or 10 to 35; by table, as loops over every
// place of a text ask for it at each step.
inline constexpr auto kValore = [] {
    std::array<std::uint8_t, 128> valori{};
    for (int c = 0; c < 10; ++c) {
        valori['0' + c] = static_cast<std::uint8_t>(c);
    }
    for (int c = 0; c < 26; ++c) {
        valori['A' + c] = static_cast<std::uint8_t>(10 + c);
    }
    return valori;
}();

constexpr int valore(char16_t c) {
    return kValore[c & 0x7F];
}

inline constexpr int kValori = 36; // the values of the digits and the letters

// One character more, by table rather than by multiplying and dividing: loops that keep the
// remainder at every place of a text run on these. A digit multiplies the number before it by
// 10, a letter's two digits by 100. kAvanti[r][v] is the remainder after a character of value v
// read after the remainder r; kIndietro[r][v] the remainder that must
// stand before a character of value v for the remainder r to stand after it.
inline constexpr auto kAvanti = [] {
    std::array<std::array<std::uint8_t, kValori>, kModulo> avanti{};
    for (int r = 0; r < kModulo; ++r) {
        for (int v = 0; v < kValori; ++v) {
            avanti[r][v] = static_cast<std::uint8_t>((r * (v < 10 ? 10 : 100) + v) % kModulo);
        }
    }
    return avanti;
}();

inline constexpr auto kIndietro = [] {
    std::array<std::array<std::uint8_t, kValori>, kModulo> indietro{};
    for (int prima = 0; prima < kModulo; ++prima) {
        for (int v = 0; v < kValori; ++v) {
            indietro[kAvanti[prima][v]][v] = static_cast<std::uint8_t>(prima);
        }
    }
    return indietro;
}();

constexpr unsigned avanti(unsigned resto, char16_t c) {
    return kAvanti[resto][valore(c)];
}

constexpr unsigned indietro(unsigned resto, char16_t c) {
    return kIndietro[resto][valore(c)];
}

// The characters that, read after the remainder `prima`, leave the remainder `dopo`: at most a
// digit and a letter (a letter's value exceeds 9, and values differ by less than 97). Each is
// 0 when there is none.
struct Soluzioni {
    char cifra;
    char lettera;
};

inline constexpr auto kSoluzioni = [] {
    std::array<std::array<Soluzioni, kModulo>, kModulo> soluzioni{};
    for (int prima = 0; prima < kModulo; ++prima) {
        for (int v = 0; v < kValori; ++v) {
            Soluzioni& s = soluzioni[prima][kAvanti[prima][v]];
            if (v < 10) {
                s.cifra = static_cast<char>('0' + v);
            } else {
                s.lettera = static_cast<char>('A' + v - 10);
            }
        }
    }
    return soluzioni;
}();

// The remainder of characters read left to right, in blocks: the remainder so far with the
// next digits written after it, r * 10^k + digits, reduced modulo 97 once five or more are in.
// A letter's two digits go in together, so a block holds at most six and the number stays
// below 97 * 10^6.
class Resto97 {
public:
    template <typename Unita> constexpr void aggiungi(const Unita* inizio, const Unita* fine) {
        for (; inizio != fine; ++inizio) {
            const char16_t u = alfabeti::unita(*inizio);
            if (alfabeti::isCifra(u)) {
                letto = letto * 10 + (u - u'0');
                ++nelBlocco;
            } else {
                letto = letto * 100 + (u - u'A' + 10);
                nelBlocco += 2;
            }
            if (nelBlocco >= 5) {
                letto %= kModulo;
                nelBlocco = 0;
            }
        }
    }

    constexpr int resto() const { return letto % kModulo; }

private:
    int letto = 0;
    int nelBlocco = 0; // digits written after the last remainder
};

// The check digits (2 to 98) of an IBAN whose rearranged text, with "00" in their place,
// leaves `resto`: with them in place the remainder is 1.
constexpr int cifreDiControllo(int resto) {
    return 98 - resto;
}

} // namespace Module1::mod97
