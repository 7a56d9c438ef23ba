#pragma once

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

// The country with these two upper-case letters; nullptr when it is not in the IBAN registry.
const Paese* registrato(char prima, char seconda);

// Italy and San Marino: the BBAN of the Italian banks, with its CIN.
constexpr bool bbanItaliano(char prima, char seconda) {
    return (prima == 'I' && seconda == 'T') || (prima == 'S' && seconda == 'M');
}

} // namespace verifier
