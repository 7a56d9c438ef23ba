#include "verifica_iban.h"

#include "caratteri.h"
#include "cin_tabelle.h"
#include "mod97.h"
#include "normalizza.h"
#include "paesi.h"
#include "suggerimenti.h"

namespace verifier {
namespace {

namespace mod97 = Module1::mod97;
using Module1::alfabeti::isCifra;
using Module1::alfabeti::isLettera;
using Module1::alfabeti::unita;

constexpr std::size_t kPrefisso = 4; // country and check digits
constexpr std::size_t kCIN = 4;      // the CIN's place in an Italian IBAN
constexpr std::size_t kABI = 5;
constexpr std::size_t kCAB = 10;
constexpr std::size_t kConto = 15;
constexpr std::size_t kLunghezzaCodice = 5;
constexpr std::size_t kLunghezzaConto = 12;

bool struttura(Risultato& r, std::size_t posizione, Tipo atteso) {
    r.esito = Esito::Struttura;
    r.struttura = {static_cast<std::uint32_t>(posizione + 1), atteso};
    return false;
}

// Digits at the check digits' places and, for IT and SM, a letter for the CIN and digits for
// ABI and CAB; the account takes letters and digits, as do other countries' BBANs.
bool strutturaGiusta(Risultato& r) {
    const std::string_view e = r.elettronico;
    for (std::size_t p = 2; p < kPrefisso; ++p) {
        if (!isCifra(unita(e[p]))) {
            return struttura(r, p, Tipo::Cifra);
        }
    }
    if (!r.bbanItaliano) {
        return true;
    }
    if (!isLettera(unita(e[kCIN]))) {
        return struttura(r, kCIN, Tipo::Lettera);
    }
    for (std::size_t p = kABI; p < kConto; ++p) {
        if (!isCifra(unita(e[p]))) {
            return struttura(r, p, Tipo::Cifra);
        }
    }
    return true;
}

void controlla(Risultato& r) {
    const std::string_view e = r.elettronico;
    if (e.empty()) {
        r.esito = Esito::Vuoto;
        return;
    }
    if (!isLettera(unita(e[0])) || (e.size() > 1 && !isLettera(unita(e[1])))) {
        r.esito = Esito::PaeseNonLettere;
        return;
    }
    r.lunghezzaAttesa = e.size() > 1 ? lunghezzaIBAN(e[0], e[1]) : 0;
    if (r.lunghezzaAttesa == 0) {
        r.esito = Esito::PaeseSconosciuto;
        return;
    }
    r.bbanItaliano = bbanItaliano(e[0], e[1]);
    if (e.size() != std::size_t(r.lunghezzaAttesa)) {
        r.esito = Esito::Lunghezza;
        return;
    }
    if (!strutturaGiusta(r)) {
        return;
    }

    // Both checks are always made, so that a CIN that does not belong to its BBAN shows even
    // when the check digits are right.
    mod97::Resto97 resto;
    resto.aggiungi(e.data() + kPrefisso, e.data() + e.size());
    resto.aggiungi(e.data(), e.data() + 2);
    constexpr char kZeri[] = "00"; // in place of the check digits
    resto.aggiungi(kZeri, kZeri + 2);
    const int controllo = mod97::cifreDiControllo(resto.resto());
    r.controlloIndicato[0] = e[2];
    r.controlloIndicato[1] = e[3];
    r.controlloAtteso[0] = static_cast<char>('0' + controllo / 10);
    r.controlloAtteso[1] = static_cast<char>('0' + controllo % 10);
    if (r.bbanItaliano) {
        r.cinIndicato = e[kCIN];
        r.cinAtteso = static_cast<char>(Module1::cin::letteraAllineata(e.data() + kABI));
    }
    r.esito = Esito::Controllo;
    if (r.controlloGiusto() && r.cinGiusto()) {
        r.esito = Esito::Valido;
    }
}

// Slips are looked for whenever a check fails: suggerisci keeps to texts one character from an
// Italian IBAN's length and to candidates of IT and SM, and one slip can make an Italian IBAN
// look like another country's (an extra character turns IT60... into NIT60..., a Nicaraguan
// length, and SM86... into SVM86..., a Salvadoran one).
bool cercaSvista(const Risultato& r) {
    switch (r.esito) {
    case Esito::PaeseNonLettere:
    case Esito::PaeseSconosciuto:
    case Esito::Lunghezza:
    case Esito::Struttura:
    case Esito::Controllo:
        return true;
    case Esito::Valido:
    case Esito::Vuoto:
    case Esito::CarattereNonAmmesso:
        return false;
    }
    return false;
}

} // namespace

bool Risultato::controlloGiusto() const {
    return controllato() && controlloIndicato[0] == controlloAtteso[0] &&
           controlloIndicato[1] == controlloAtteso[1];
}

bool Risultato::cinGiusto() const {
    return !bbanItaliano || (controllato() && cinIndicato == cinAtteso);
}

std::string_view Risultato::paese() const {
    return normalizzato() && lunghezzaAttesa > 0 ? std::string_view(elettronico).substr(0, 2)
                                                 : std::string_view();
}

std::string_view Risultato::cifreControllo() const {
    return controllato() ? std::string_view(elettronico).substr(2, 2) : std::string_view();
}

std::string_view Risultato::cin() const {
    return conParti() ? std::string_view(elettronico).substr(kCIN, 1) : std::string_view();
}

std::string_view Risultato::abi() const {
    return conParti() ? std::string_view(elettronico).substr(kABI, kLunghezzaCodice)
                      : std::string_view();
}

std::string_view Risultato::cab() const {
    return conParti() ? std::string_view(elettronico).substr(kCAB, kLunghezzaCodice)
                      : std::string_view();
}

std::string_view Risultato::conto() const {
    return conParti() ? std::string_view(elettronico).substr(kConto, kLunghezzaConto)
                      : std::string_view();
}

void verifica(std::string_view testo, Risultato& r) {
    r.rifiuto = {};
    r.lunghezzaAttesa = 0;
    r.struttura = {};
    r.bbanItaliano = false;
    r.cinIndicato = r.cinAtteso = 0;
    r.suggerimenti.numero = 0;
    r.suggerimenti.troppi = false;
    if (!normalizza(testo, r.elettronico, r.rifiuto)) {
        r.esito = Esito::CarattereNonAmmesso;
        r.elettronico.clear();
        return;
    }
    controlla(r);
    if (cercaSvista(r)) {
        suggerisci(r.elettronico, r.suggerimenti);
    }
}

Risultato verifica(std::string_view testo) {
    Risultato r;
    verifica(testo, r);
    return r;
}

bool sembraUnIBAN(std::string_view testo) {
    constexpr std::size_t kMinimo = 15;
    constexpr std::size_t kMassimo = 34;
    if (testo.size() > kSembraMassimo) {
        return false;
    }
    std::string elettronico;
    Rifiuto rifiuto;
    if (!normalizza(testo, elettronico, rifiuto)) {
        return false;
    }
    return elettronico.size() >= kMinimo && elettronico.size() <= kMassimo &&
           isLettera(unita(elettronico[0])) && isLettera(unita(elettronico[1])) &&
           isCifra(unita(elettronico[2])) && isCifra(unita(elettronico[3]));
}

} // namespace verifier
