#pragma once

#include "verifica_iban.h"

#include <string>
#include <string_view>

// The ways an IBAN is written. The electronic form is Risultato::elettronico itself.
namespace verifier {

// The print form: groups of four characters, one space between them
// (IT60 X054 2811 1010 0000 0123 456). The appending form writes into a reused buffer.
std::string cartaceo(std::string_view elettronico);
void aggiungiCartaceo(std::string_view elettronico, std::string& uscita);

// The Italian form by field: country, check digits, CIN, ABI, CAB and account
// (IT 60 X 05428 11101 000000123456). Empty unless risultato.conParti().
std::string perCampi(const Risultato& risultato);
void aggiungiPerCampi(const Risultato& risultato, std::string& uscita);

} // namespace verifier
