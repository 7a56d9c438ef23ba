#include "forme.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace verifier {

void aggiungiCartaceo(std::string_view elettronico, std::string& uscita) {
    constexpr std::size_t kGruppo = 4;
    if (elettronico.empty()) {
        return;
    }
    const std::size_t inizio = uscita.size();
    uscita.resize(inizio + elettronico.size() + (elettronico.size() - 1) / kGruppo);
    char* scritto = uscita.data() + inizio;
    for (std::size_t i = 0; i < elettronico.size(); i += kGruppo) {
        if (i > 0) {
            *scritto++ = ' ';
        }
        const std::size_t quanti = std::min(kGruppo, elettronico.size() - i);
        std::memcpy(scritto, elettronico.data() + i, quanti);
        scritto += quanti;
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
    // Country, check digits, CIN, ABI, CAB and account, one space after each but the last.
    const char* e = risultato.elettronico.data();
    std::array<char, Suggerimenti::kLunghezza + 5> campi;
    char* c = campi.data();
    const auto parte = [&c, e](std::size_t da, std::size_t lunghezza, bool spazio) {
        std::memcpy(c, e + da, lunghezza);
        c += lunghezza;
        if (spazio) {
            *c++ = ' ';
        }
    };
    parte(0, 2, true);
    parte(2, 2, true);
    parte(4, 1, true);
    parte(5, 5, true);
    parte(10, 5, true);
    parte(15, 12, false);
    uscita.append(campi.data(), campi.size());
}

std::string perCampi(const Risultato& risultato) {
    std::string uscita;
    aggiungiPerCampi(risultato, uscita);
    return uscita;
}

} // namespace verifier
