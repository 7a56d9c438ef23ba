#include "calcola_iban.h"

#include "alfabeti.h"
#include "cin.h"
#include "mod97.h"

#include <algorithm>

namespace Module1 {
namespace {

using namespace alfabeti;

constexpr std::size_t kCifreCodice = 5;
constexpr std::size_t kLunghezzaConto = 12;
constexpr std::size_t kPrefisso = 4; // "IT" and the check digits
constexpr std::size_t kLunghezzaIBAN = kPrefisso + 1 + kCaratteriCIN;

// Why the command refuses, with its warning's text and the field that gets the focus.
struct Rifiuto {
    const char* avviso;
    Campo campo;
};

constexpr Rifiuto kVuotoABI = {"Compilare ABI, CAB e Nr. del CONTO.", Campo::ABI};
constexpr Rifiuto kVuotoCAB = {kVuotoABI.avviso, Campo::CAB};
constexpr Rifiuto kVuotoConto = {kVuotoABI.avviso, Campo::Conto};
constexpr Rifiuto kABINonCifre = {"Il codice ABI deve contenere soltanto cifre.", Campo::ABI};
constexpr Rifiuto kABITroppeCifre = {"Il codice ABI deve essere composto al massimo da 5 cifre.",
                                     Campo::ABI};
constexpr Rifiuto kCABNonCifre = {"Il codice CAB deve contenere soltanto cifre.", Campo::CAB};
constexpr Rifiuto kCABTroppeCifre = {"Il codice CAB deve essere composto al massimo da 5 cifre.",
                                     Campo::CAB};
constexpr Rifiuto kContoTroppoLungo = {"Il numero del conto deve essere composto al massimo da 12 "
                                       "lettere e cifre; segni e spazi non contano.",
                                       Campo::Conto};

enum class Codice { Valido, NonSoloCifre, TroppeCifre };

template <typename Unita> Codice esaminaCodice(std::basic_string_view<Unita> codice) {
    std::size_t significative = 0;
    for (const Unita c : codice) {
        if (!isCifra(unita(c))) {
            return Codice::NonSoloCifre;
        }
        if (significative > 0 || unita(c) != u'0') {
            ++significative;
        }
    }
    return significative > kCifreCodice ? Codice::TroppeCifre : Codice::Valido;
}

// Writes a code esaminaCodice found valid into its five places, already "0": its last five
// characters, since any before them are leading zeros.
template <typename Unita> void scriviCodice(Unita* campo, std::basic_string_view<Unita> codice) {
    const std::size_t cifre = std::min(kCifreCodice, codice.size());
    std::copy(codice.end() - cifre, codice.end(), campo + kCifreCodice - cifre);
}

constexpr char16_t maiuscolaAscii(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

// Writes the account's letters and digits right-aligned into its twelve places, already "0";
// false when there are more than twelve. Its a-z count as A-Z: a text already upper-cased has
// none left.
template <typename Unita> bool scriviConto(Unita* campo, std::basic_string_view<Unita> conto) {
    std::size_t libero = kLunghezzaConto;
    for (auto it = conto.crbegin(); it != conto.crend(); ++it) {
        const char16_t c = maiuscolaAscii(unita(*it));
        if (isAlfanumerico(c)) {
            if (libero == 0) {
                return false;
            }
            campo[--libero] = static_cast<Unita>(c);
        }
    }
    return true;
}

// The Calculate command's computation, written into the 27 places of `iban`; the refusal when
// there is one.
template <typename Unita>
const Rifiuto* componiIBAN(std::basic_string_view<Unita> abi, std::basic_string_view<Unita> cab,
                           std::basic_string_view<Unita> conto, Unita* iban) {
    if (abi.empty()) {
        return &kVuotoABI;
    }
    if (cab.empty()) {
        return &kVuotoCAB;
    }
    if (conto.empty()) {
        return &kVuotoConto;
    }
    switch (esaminaCodice(abi)) {
    case Codice::NonSoloCifre:
        return &kABINonCifre;
    case Codice::TroppeCifre:
        return &kABITroppeCifre;
    case Codice::Valido:
        break;
    }
    switch (esaminaCodice(cab)) {
    case Codice::NonSoloCifre:
        return &kCABNonCifre;
    case Codice::TroppeCifre:
        return &kCABTroppeCifre;
    case Codice::Valido:
        break;
    }

    // Working string: "IT00" and the BBAN, written in place; it becomes the IBAN once the check
    // digits are in. ABI and CAB fit their places by now; an account that keeps more than twelve
    // letters and digits does not. With every part in its place, the BBAN after the CIN holds
    // the very characters the CIN is computed from.
    std::copy_n("IT00", kPrefisso, iban);
    Unita* const allineati = iban + kPrefisso + 1;
    std::fill_n(allineati, kCaratteriCIN, static_cast<Unita>('0'));
    scriviCodice(allineati, abi);
    scriviCodice(allineati + kCifreCodice, cab);
    if (!scriviConto(allineati + 2 * kCifreCodice, conto)) {
        return &kContoTroppoLungo;
    }
    iban[kPrefisso] = static_cast<Unita>(cin::letteraAllineata(allineati));

    // The rearranged string: the BBAN followed by "IT00".
    mod97::Resto97 resto;
    resto.aggiungi(iban + kPrefisso, iban + kLunghezzaIBAN);
    resto.aggiungi(iban, iban + kPrefisso);
    const int controllo = mod97::cifreDiControllo(resto.resto());
    iban[2] = static_cast<Unita>('0' + controllo / 10);
    iban[3] = static_cast<Unita>('0' + controllo % 10);
    return nullptr;
}

std::u16string_view vista(QStringView testo) {
    return {testo.utf16(), static_cast<std::size_t>(testo.size())};
}

} // namespace

EsitoCalcolo CalcolaIBAN(const QString& abi, const QString& cab, const QString& conto) {
    // Upper-cased as ComponiBBAN would, leaving the caller's text alone; read in place when
    // nothing changes.
    QString contoMaiuscolo;
    QStringView contoBBAN = conto;
    if (!giaMaiuscolo(conto)) {
        contoMaiuscolo = maiuscolo(conto);
        contoBBAN = contoMaiuscolo;
    }
    EsitoCalcolo esito;
    esito.iban = QString(kLunghezzaIBAN, Qt::Uninitialized);
    const Rifiuto* rifiuto = componiIBAN(vista(abi), vista(cab), vista(contoBBAN),
                                         reinterpret_cast<char16_t*>(esito.iban.data()));
    if (rifiuto != nullptr) {
        esito.iban.clear();
        esito.avviso = QString::fromUtf8(rifiuto->avviso);
        esito.campo = rifiuto->campo;
        return esito;
    }
    esito.calcolato = true;
    return esito;
}

EsitoCalcoloTesto CalcolaIBAN(std::string_view abi, std::string_view cab, std::string_view conto) {
    EsitoCalcoloTesto esito;
    const Rifiuto* rifiuto = componiIBAN(abi, cab, conto, esito.iban.data());
    if (rifiuto != nullptr) {
        esito.avviso = rifiuto->avviso;
        esito.campo = rifiuto->campo;
        return esito;
    }
    esito.calcolato = true;
    return esito;
}

} // namespace Module1
