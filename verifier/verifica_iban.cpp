#include "verifica_iban.h"

#include "caratteri.h"
#include "cin_tabelle.h"
#include "mod97.h"
#include "normalizza.h"
#include "paesi.h"
#include "suggerimenti.h"

#include <array>
#include <bit>
#include <cstring>

namespace verifier {
namespace {

namespace mod97 = Module1::mod97;
using Module1::alfabeti::isCifra;
using Module1::alfabeti::isLettera;
using Module1::alfabeti::unita;

constexpr std::size_t kPrefisso = 4; // country and check digits
constexpr std::size_t kCIN = 4;      // the CIN's place in an Italian IBAN, the first of the BBAN
constexpr std::size_t kABI = 5;
constexpr std::size_t kCAB = 10;
constexpr std::size_t kConto = 15;
constexpr std::size_t kLunghezzaCodice = 5;
constexpr std::size_t kLunghezzaConto = 12;

// 10^k modulo 97, for k up to twice the longest IBAN and a little more.
constexpr std::array<std::uint8_t, 80> kPotenze = [] {
    std::array<std::uint8_t, 80> potenze{};
    unsigned p = 1;
    for (std::uint8_t& potenza : potenze) {
        potenza = static_cast<std::uint8_t>(p);
        p = p * 10 % mod97::kModulo;
    }
    return potenze;
}();

// The places of the digits (bit p for e[p]) from the check digits on. Of the digits and
// capitals only the capitals have bit 6 set: on a little-endian machine one multiplication
// gathers that bit of eight bytes read as one word.
std::uint64_t postiDelleCifre(std::string_view e) {
    std::uint64_t cifre = 0;
    std::size_t p = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; p + 8 <= e.size(); p += 8) {
            std::uint64_t parola;
            std::memcpy(&parola, e.data() + p, 8);
            const std::uint64_t bassi = (~parola >> 6) & 0x0101010101010101;
            cifre |= ((bassi * 0x0102040810204080) >> 56) << p;
        }
    }
    for (; p < e.size(); ++p) {
        cifre |= std::uint64_t(isCifra(unita(e[p]))) << p;
    }
    // The country is checked apart.
    return cifre & ~std::uint64_t(3);
}

// The first character of the wrong kind for its place, by the country's BBAN: digits at the
// check digits' places and, for IT and SM, a letter for the CIN and digits for ABI and CAB.
bool strutturaGiusta(Risultato& r, const Paese& paese, std::uint64_t cifre) {
    // Every character is a digit or a capital: a place that wants a letter holds a digit.
    const std::uint64_t sbagliati = (paese.soloCifre & ~cifre) | (paese.soloLettere & cifre);
    if (sbagliati == 0) {
        return true;
    }
    const int p = std::countr_zero(sbagliati);
    r.esito = Esito::Struttura;
    r.struttura.indice = static_cast<std::uint32_t>(p);
    r.struttura.atteso = (paese.soloCifre >> p) & 1 ? Tipo::Cifra : Tipo::Lettera;
    return false;
}

void scriviCifre(int controllo, char (&cifre)[2]) {
    cifre[0] = static_cast<char>('0' + controllo / 10);
    cifre[1] = static_cast<char>('0' + controllo % 10);
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
    const Paese* paese = e.size() > 1 ? registrato(e[0], e[1]) : nullptr;
    if (paese == nullptr) {
        r.esito = Esito::PaeseSconosciuto;
        return;
    }
    r.lunghezzaAttesa = paese->lunghezza;
    r.bbanItaliano = bbanItaliano(e[0], e[1]);
    if (e.size() != std::size_t(r.lunghezzaAttesa)) {
        r.esito = Esito::Lunghezza;
        return;
    }
    const std::uint64_t cifre = postiDelleCifre(e);
    if (!strutturaGiusta(r, *paese, cifre)) {
        return;
    }

    // Both checks are always made, so that a CIN that does not belong to its BBAN shows even
    // when the check digits are right.
    mod97::Resto97 resto;
    resto.aggiungi(e.data() + kPrefisso, e.data() + e.size());
    resto.aggiungi(e.data(), e.data() + 2);
    constexpr char kZeri[] = "00"; // in place of the check digits
    resto.aggiungi(kZeri, kZeri + 2);
    r.controlloIndicato[0] = e[2];
    r.controlloIndicato[1] = e[3];
    scriviCifre(mod97::cifreDiControllo(resto.resto()), r.controlloAtteso);
    if (r.bbanItaliano) {
        r.cinIndicato = e[kCIN];
        r.cinAtteso = static_cast<char>(Module1::cin::letteraAllineata(e.data() + kABI));
        if (r.cinIndicato != r.cinAtteso) {
            // The CIN's two digits are followed by a digit for each digit after it, two for each
            // letter, four for the country and the two zeros: another CIN moves the remainder
            // by the difference of their values times 10 to that count.
            const int dopo = int(e.size()) - int(kABI);
            const int lettereDopo = dopo - std::popcount(cifre >> kABI);
            const int moto = (r.cinAtteso - r.cinIndicato + mod97::kModulo) *
                             kPotenze[std::size_t(dopo + lettereDopo + 6)];
            char conQuelloAtteso[2];
            scriviCifre(mod97::cifreDiControllo((resto.resto() + moto) % mod97::kModulo),
                        conQuelloAtteso);
            r.soloIlCIN = conQuelloAtteso[0] == e[2] && conQuelloAtteso[1] == e[3];
        }
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

bool letteraASCII(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A word the text starts with that is no part of the IBAN after it ("CONTO IT60...", "Conto:
// IT60..."): letters alone, then blanks or a colon, then more. A word of one or two letters
// counts only before two letters, so that a country written apart ("IT 60 X 05428...") stays.
// Only a check that fails on the first characters can come from such a word.
void cercaParolaInPiu(std::string_view testo, const Inizio& inizio, Risultato& r) {
    switch (r.esito) {
    case Esito::CarattereNonAmmesso:
    case Esito::PaeseNonLettere:
    case Esito::PaeseSconosciuto:
    case Esito::Lunghezza:
    case Esito::Struttura:
        break;
    case Esito::Valido:
    case Esito::Vuoto:
    case Esito::Controllo:
        return;
    }
    const auto* const fine = reinterpret_cast<const unsigned char*>(testo.data()) + testo.size();
    std::uint32_t caratteri = inizio.caratteri;
    const unsigned char* const parola = dopoGliSpazi(
        reinterpret_cast<const unsigned char*>(testo.data()) + inizio.byte, fine, caratteri);
    const unsigned char* p = parola;
    while (p < fine && letteraASCII(*p)) {
        ++p;
    }
    // What ends a word: a blank, a colon, or a character beyond ASCII (a Unicode space).
    if (p == fine || (*p != ' ' && *p != '\t' && *p != ':' && *p < 0x80)) {
        return;
    }
    const unsigned char* dopo = dopoGliSpazi(p, fine, caratteri);
    if (dopo < fine && *dopo == ':') {
        dopo = dopoGliSpazi(dopo + 1, fine, caratteri);
    } else if (dopo == p) {
        return; // the word goes on, or the text ends with it
    }
    const std::size_t lunghezza = std::size_t(p - parola);
    const bool dueLettereDopo = fine - dopo >= 2 && letteraASCII(dopo[0]) && letteraASCII(dopo[1]);
    if (lunghezza == 0 || dopo == fine || (lunghezza <= 2 && !dueLettereDopo)) {
        return;
    }
    r.parolaInPiu.assign(reinterpret_cast<const char*>(parola), lunghezza);
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
    r.soloIlCIN = false;
    r.parolaInPiu.clear();
    r.suggerimenti.numero = 0;
    r.suggerimenti.troppi = false;
    Inizio inizio;
    if (!normalizza(testo, r.elettronico, r.rifiuto, inizio)) {
        r.esito = Esito::CarattereNonAmmesso;
        r.elettronico.clear();
        cercaParolaInPiu(testo, inizio, r);
        return;
    }
    controlla(r);
    if (r.esito == Esito::Struttura) {
        r.struttura.posizione = posizioneNelTesto(testo, inizio, r.struttura.indice);
    }
    if (cercaSvista(r)) {
        suggerisci(r.elettronico, r.suggerimenti);
        cercaParolaInPiu(testo, inizio, r);
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
    Inizio inizio;
    if (!normalizza(testo, elettronico, rifiuto, inizio)) {
        return false;
    }
    return elettronico.size() >= kMinimo && elettronico.size() <= kMassimo &&
           isLettera(unita(elettronico[0])) && isLettera(unita(elettronico[1])) &&
           isCifra(unita(elettronico[2])) && isCifra(unita(elettronico[3]));
}

} // namespace verifier
