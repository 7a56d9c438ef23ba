#include "righe.h"

#include "console.h"

#include <cstring>
#include <utility>

namespace cli {
namespace {

constexpr std::size_t kBlocco = 64 * 1024;

std::string_view senzaRitorno(std::string_view riga) {
    if (!riga.empty() && riga.back() == '\r') {
        riga.remove_suffix(1);
    }
    return riga;
}

} // namespace

LettoreRighe::LettoreRighe(std::function<void()> primaDiLeggere)
    : primaDiLeggere(std::move(primaDiLeggere)), buffer(kRigaMassima + kBlocco) {}

bool LettoreRighe::riempi() {
    if (finito) {
        return false;
    }
    // What is held moves to the front, so that a whole read fits after it.
    if (inizio > 0) {
        std::memmove(buffer.data(), buffer.data() + inizio, fine - inizio);
        cercato -= inizio;
        fine -= inizio;
        inizio = 0;
    }
    primaDiLeggere();
    const std::ptrdiff_t letti = shell::console::read(buffer.data() + fine, buffer.size() - fine);
    if (letti <= 0) {
        finito = true;
        if (letti < 0) {
            descrizione = shell::console::errorText();
        }
        return false;
    }
    fine += static_cast<std::size_t>(letti);
    return true;
}

LettoreRighe::Esito LettoreRighe::leggi(std::string_view& riga, bool& troncata) {
    troncata = false;
    // A whole line, without its "\r" too; cut to its first kRigaMassima bytes when longer,
    // however the input came.
    const auto consegna = [&riga, &troncata](std::string_view intera) {
        riga = senzaRitorno(intera);
        troncata = riga.size() > kRigaMassima;
        riga = riga.substr(0, kRigaMassima);
        return Esito::Riga;
    };
    for (;;) {
        const char* inizioRiga = buffer.data() + inizio;
        const auto* a_capo =
            static_cast<const char*>(std::memchr(buffer.data() + cercato, '\n', fine - cercato));
        if (a_capo != nullptr) {
            const std::size_t dopo = std::size_t(a_capo - buffer.data()) + 1;
            const bool saltata = std::exchange(salta, false);
            inizio = cercato = dopo;
            if (saltata) {
                continue; // the end of a line already given, cut
            }
            return consegna(std::string_view(inizioRiga, std::size_t(a_capo - inizioRiga)));
        }
        cercato = fine;
        if (fine - inizio > kRigaMassima + 1 && !salta) {
            // Past kRigaMassima bytes even if a "\r" ends it, and far too long for an IBAN: its
            // beginning stands for it; the rest is skipped.
            riga = std::string_view(inizioRiga, kRigaMassima);
            troncata = true;
            salta = true;
            inizio = inizio + kRigaMassima;
            return Esito::Riga;
        }
        if (salta) {
            inizio = cercato = fine;
        }
        if (!riempi()) {
            if (!descrizione.empty()) {
                return Esito::Errore;
            }
            if (fine > inizio && !salta) {
                const std::string_view ultima(buffer.data() + inizio, fine - inizio);
                inizio = cercato = fine;
                return consegna(ultima);
            }
            return Esito::Fine;
        }
    }
}

} // namespace cli
