#pragma once

#include "verifica_iban.h"

#include <string>

// What the verifier tells the user, in Italian. The appending forms write into a reused buffer.
namespace verifier {

inline constexpr char kValido[] = "valido";
inline constexpr char kNonValido[] = "non valido";
inline constexpr char kTroppiSuggerimenti[] =
    "Troppi IBAN validi differiscono da questo per un solo errore di battitura: nessun "
    "suggerimento.";

// Why the IBAN is not valid, in one or two sentences; empty when it is valid.
std::string motivo(const Risultato& risultato);
void aggiungiMotivo(const Risultato& risultato, std::string& uscita);

// For a valid IBAN of a country other than Italy and San Marino: that only the length and the
// check digits were checked, not the national format. Empty otherwise.
std::string nota(const Risultato& risultato);
void aggiungiNota(const Risultato& risultato, std::string& uscita);

} // namespace verifier
