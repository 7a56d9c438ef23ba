#include "calcola_iban.h"

#include "alfabeti.h"
#include "cin.h"
#include "mod97.h"

#include <algorithm>

namespace Module1 {
namespace {

using namespace alfabeti;

constexpr qsizetype kCifreCodice = 5;
constexpr qsizetype kLunghezzaConto = 12;
constexpr qsizetype kPrefisso = 4; // "IT" and the check digits
constexpr qsizetype kLunghezzaIBAN = kPrefisso + 1 + kCaratteriCIN;

EsitoCalcolo avviso(QString testo, Campo campo) {
    EsitoCalcolo esito;
    esito.avviso = std::move(testo);
    esito.campo = campo;
    return esito;
}

enum class Codice { Valido, NonSoloCifre, TroppeCifre };

Codice esaminaCodice(QStringView codice) {
    qsizetype significative = 0;
    for (QChar c : codice) {
        if (!isCifra(c.unicode())) {
            return Codice::NonSoloCifre;
        }
        if (significative > 0 || c != u'0') {
            ++significative;
        }
    }
    return significative > kCifreCodice ? Codice::TroppeCifre : Codice::Valido;
}

// Writes a code esaminaCodice found valid into its five places, already "0": its last five
// characters, since any before them are leading zeros.
void scriviCodice(QChar* campo, QStringView codice) {
    const qsizetype cifre = std::min(kCifreCodice, codice.size());
    std::copy(codice.end() - cifre, codice.end(), campo + kCifreCodice - cifre);
}

// Writes the account's letters and digits right-aligned into its twelve places, already "0";
// false when there are more than twelve.
bool scriviConto(QChar* campo, QStringView conto) {
    qsizetype libero = kLunghezzaConto;
    for (auto it = conto.crbegin(); it != conto.crend(); ++it) {
        if (isAlfanumerico(it->unicode())) {
            if (libero == 0) {
                return false;
            }
            campo[--libero] = *it;
        }
    }
    return true;
}

} // namespace

EsitoCalcolo CalcolaIBAN(const QString& abi, const QString& cab, const QString& conto) {
    if (abi.isEmpty() || cab.isEmpty() || conto.isEmpty()) {
        const Campo primoVuoto = abi.isEmpty()   ? Campo::ABI
                                 : cab.isEmpty() ? Campo::CAB
                                                 : Campo::Conto;
        return avviso(QStringLiteral("Compilare ABI, CAB e Nr. del CONTO."), primoVuoto);
    }

    switch (esaminaCodice(abi)) {
    case Codice::NonSoloCifre:
        return avviso(QStringLiteral("Il codice ABI deve contenere soltanto cifre."), Campo::ABI);
    case Codice::TroppeCifre:
        return avviso(QStringLiteral("Il codice ABI deve essere composto al massimo da 5 cifre."),
                      Campo::ABI);
    case Codice::Valido:
        break;
    }
    switch (esaminaCodice(cab)) {
    case Codice::NonSoloCifre:
        return avviso(QStringLiteral("Il codice CAB deve contenere soltanto cifre."), Campo::CAB);
    case Codice::TroppeCifre:
        return avviso(QStringLiteral("Il codice CAB deve essere composto al massimo da 5 cifre."),
                      Campo::CAB);
    case Codice::Valido:
        break;
    }

    // Upper-cased as ComponiBBAN would, leaving the caller's text alone; read in place when
    // nothing changes.
    QString contoMaiuscolo;
    QStringView contoBBAN = conto;
    if (!giaMaiuscolo(conto)) {
        contoMaiuscolo = maiuscolo(conto);
        contoBBAN = contoMaiuscolo;
    }

    // Working string: "IT00" and the BBAN, written in place; it becomes the IBAN once the check
    // digits are in. ABI and CAB fit their places by now; an account that keeps more than twelve
    // letters and digits does not. With every part in its place, the BBAN after the CIN holds
    // the very characters the CIN is computed from.
    EsitoCalcolo esito;
    esito.iban = QString(kLunghezzaIBAN, Qt::Uninitialized);
    QChar* iban = esito.iban.data();
    std::copy_n(u"IT00", kPrefisso, iban);
    QChar* const allineati = iban + kPrefisso + 1;
    std::fill_n(allineati, kCaratteriCIN, u'0');
    scriviCodice(allineati, abi);
    scriviCodice(allineati + kCifreCodice, cab);
    if (!scriviConto(allineati + 2 * kCifreCodice, contoBBAN)) {
        return avviso(QStringLiteral("Il numero del conto deve essere composto al massimo da 12 "
                                     "lettere e cifre; segni e spazi non contano."),
                      Campo::Conto);
    }
    iban[kPrefisso] = letteraCINAllineata(QStringView(allineati, kCaratteriCIN));

    // The rearranged string: the BBAN followed by "IT00".
    mod97::Resto97 resto;
    const char16_t* testo = QStringView(esito.iban).utf16();
    resto.aggiungi(testo + kPrefisso, testo + kLunghezzaIBAN);
    resto.aggiungi(testo, testo + kPrefisso);
    const int controllo = mod97::cifreDiControllo(resto.resto());
    iban[2] = QChar(u'0' + controllo / 10);
    iban[3] = QChar(u'0' + controllo % 10);
    esito.calcolato = true;
    return esito;
}

} // namespace Module1
