#include "forme.h"

namespace verifier {

void aggiungiCartaceo(std::string_view elettronico, std::string& uscita) {
    constexpr std::size_t kGruppo = 4;
    for (std::size_t i = 0; i < elettronico.size(); i += kGruppo) {
        if (i > 0) {
            uscita += ' ';
        }
        uscita += elettronico.substr(i, kGruppo);
    }
}

std::string cartaceo(std::string_view elettronico) {
    std::string uscita;
    aggiungiCartaceo(elettronico, uscita);
    return uscita;
}

void aggiungiPerCampi(const Risultato& risultato, std::string& uscita) {
    if (!risultato.conParti()) {
        return;
    }
    for (const std::string_view parte : {risultato.paese(), risultato.cifreControllo(),
                                         risultato.cin(), risultato.abi(), risultato.cab()}) {
        uscita += parte;
        uscita += ' ';
    }
    uscita += risultato.conto();
}

std::string perCampi(const Risultato& risultato) {
    std::string uscita;
    aggiungiPerCampi(risultato, uscita);
    return uscita;
}

} // namespace verifier
