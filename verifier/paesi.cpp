#include "paesi.h"

#include "caratteri.h"

#include <array>
#include <cstdint>

namespace verifier {
namespace {

using Module1::alfabeti::isLettera;
using Module1::alfabeti::unita;

struct Paese {
    char codice[3];
    std::uint8_t lunghezza;
};

// The IBAN prefixes and lengths of the SWIFT IBAN Registry, Release 100 (rows "IBAN prefix
// country code" and "IBAN length"), https://www.swift.com/standards/data-standards/iban.
// Territories that the registry lists under another country's prefix (AX under FI; GF, GP and
// the others under FR; IM, JE, GG under GB) use that prefix and have none of their own.
constexpr Paese kRegistro[] = {
    {"AD", 24}, {"AE", 23}, {"AL", 28}, {"AT", 20}, {"AZ", 28}, {"BA", 20}, {"BE", 16}, {"BG", 22},
    {"BH", 22}, {"BI", 27}, {"BR", 29}, {"BY", 28}, {"CH", 21}, {"CR", 22}, {"CY", 28}, {"CZ", 24},
    {"DE", 22}, {"DJ", 27}, {"DK", 18}, {"DO", 28}, {"EE", 20}, {"EG", 29}, {"ES", 24}, {"FI", 18},
    {"FK", 18}, {"FO", 18}, {"FR", 27}, {"GB", 22}, {"GE", 22}, {"GI", 23}, {"GL", 18}, {"GR", 27},
    {"GT", 28}, {"HN", 28}, {"HR", 21}, {"HU", 28}, {"IE", 22}, {"IL", 23}, {"IQ", 23}, {"IS", 26},
    {"IT", 27}, {"JO", 30}, {"KW", 30}, {"KZ", 20}, {"LB", 28}, {"LC", 32}, {"LI", 21}, {"LT", 20},
    {"LU", 20}, {"LV", 21}, {"LY", 25}, {"MC", 27}, {"MD", 24}, {"ME", 22}, {"MK", 19}, {"MN", 20},
    {"MR", 27}, {"MT", 31}, {"MU", 30}, {"NI", 28}, {"NL", 18}, {"NO", 15}, {"OM", 23}, {"PK", 24},
    {"PL", 28}, {"PS", 29}, {"PT", 25}, {"QA", 29}, {"RO", 24}, {"RS", 22}, {"RU", 33}, {"SA", 24},
    {"SC", 31}, {"SD", 18}, {"SE", 24}, {"SI", 19}, {"SK", 24}, {"SM", 27}, {"SO", 23}, {"ST", 25},
    {"SV", 28}, {"TL", 23}, {"TN", 24}, {"TR", 26}, {"UA", 29}, {"VA", 22}, {"VG", 24}, {"XK", 20},
    {"YE", 30},
};

// The same, as one lookup by the two letters.
constexpr std::array<std::uint8_t, 26 * 26> kLunghezze = [] {
    std::array<std::uint8_t, 26 * 26> lunghezze{};
    for (const Paese& paese : kRegistro) {
        lunghezze[(paese.codice[0] - 'A') * 26 + (paese.codice[1] - 'A')] = paese.lunghezza;
    }
    return lunghezze;
}();

} // namespace

int lunghezzaIBAN(char prima, char seconda) {
    if (!isLettera(unita(prima)) || !isLettera(unita(seconda))) {
        return 0;
    }
    return kLunghezze[(prima - 'A') * 26 + (seconda - 'A')];
}

} // namespace verifier
