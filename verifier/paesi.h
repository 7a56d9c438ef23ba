#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The countries that use the IBAN: the length of their IBANs, the structure of their BBANs and
// their names in Italian.
namespace verifier {

struct Paese {
    char codice[3];
    std::uint8_t lunghezza; // of the country's IBANs
    // What follows "Gli IBAN " in a sentence: "italiani", "di San Marino".
    const char* nome;
    // The places (bit p for the IBAN's character p, from 0) that take only digits, and those
    // that take only letters; the others take either. The check digits are digits everywhere.
    std::uint64_t soloCifre;
    std::uint64_t soloLettere;
};

namespace paesi {
inline constexpr std::size_t kQuanti = 89;
extern const std::array<Paese, kQuanti> kTabella;
// Each country's place in kTabella by its two letters (26 * first + second), from 1; 0 for none.
extern const std::array<std::uint8_t, 26 * 26> kIndice;
} // namespace paesi

// The country with these two upper-case letters; nullptr when it is not in the IBAN registry.
inline const Paese* registrato(char prima, char seconda) {
    const unsigned a = static_cast<unsigned char>(prima) - 'A';
    const unsigned b = static_cast<unsigned char>(seconda) - 'A';
    if (a >= 26 || b >= 26) {
        return nullptr;
    }
    const int i = paesi::kIndice[a * 26 + b];
    return i == 0 ? nullptr : &paesi::kTabella[i - 1];
}

// Italy and San Marino: the BBAN of the Italian banks, with its CIN.
constexpr bool bbanItaliano(char prima, char seconda) {
    return (prima == 'I' && seconda == 'T') || (prima == 'S' && seconda == 'M');
}

} // namespace verifier
