#pragma once

// The countries that use the IBAN and the length of their IBANs.
namespace verifier {

// The length of the IBANs of the country with these two upper-case letters; 0 when the country
// is not in the IBAN registry.
int lunghezzaIBAN(char prima, char seconda);

// Italy and San Marino: the BBAN of the Italian banks, with its CIN.
constexpr bool bbanItaliano(char prima, char seconda) {
    return (prima == 'I' && seconda == 'T') || (prima == 'S' && seconda == 'M');
}

} // namespace verifier
