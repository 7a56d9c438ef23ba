#include "calcola_iban.h"

#include "alfabeti.h"
#include "bban.h"
#include "cifre.h"

#include <algorithm>
#include <array>

namespace Module1 {
namespace {

using namespace alfabeti;

constexpr qsizetype kCifreCodice = 5;
constexpr qsizetype kLunghezzaBBAN = 23;
constexpr qsizetype kPrefisso = 4; // "IT" and the check digits
constexpr qsizetype kLunghezzaIBAN = kPrefisso + kLunghezzaBBAN;

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

// The five-digit block loop: the remainder so far written in front of each block, the result
// read as a number and reduced modulo 97. Writing r in front of a block of k digits is
// r * 10^k + block.
int restoMod97(QStringView cifre) {
    int resto = 0;
    for (std::int16_t n = 1;; ++n) {
        const QStringView b = blocco(cifre, n);
        if (b.isEmpty()) {
            return resto;
        }
        int letto = resto;
        for (QChar c : b) {
            letto = letto * 10 + (c.unicode() - u'0');
        }
        resto = letto % 97;
    }
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

    // Upper-cased as ComponiBBAN would, leaving the caller's text alone; a shared copy, not a
    // new string, when nothing changes.
    const QString contoBBAN = giaMaiuscolo(conto) ? conto : conto.toUpper();
    const MisureBBAN misure = misuraBBAN(abi, cab, contoBBAN);
    // ABI and CAB are within their widths here: only an account that keeps more than twelve
    // letters and digits, which cannot be padded, makes the BBAN longer.
    if (misure.lunghezza > kLunghezzaBBAN) {
        return avviso(QStringLiteral("Il numero del conto deve essere composto al massimo da 12 "
                                     "lettere e cifre; segni e spazi non contano."),
                      Campo::Conto);
    }

    // Working string: "IT00" and the BBAN, written in place; it becomes the IBAN once the check
    // digits are in.
    EsitoCalcolo esito;
    esito.iban = QString(kPrefisso + misure.lunghezza, Qt::Uninitialized);
    QChar* iban = esito.iban.data();
    std::copy_n(u"IT00", kPrefisso, iban);
    scriviBBAN(iban + kPrefisso, abi, cab, contoBBAN, misure);

    // The rearranged string, the BBAN followed by "IT00", as digits; "IT00" always gives
    // "182900" (I is 18, T is 29).
    std::array<QChar, 2 * kLunghezzaIBAN> cifre;
    QChar* fine =
        cifre.data() + convertiLettere(QStringView(esito.iban).sliced(kPrefisso), cifre.data());
    fine = std::copy_n(u"182900", 6, fine);

    const int controllo = 98 - restoMod97(QStringView(cifre.data(), fine));
    iban[2] = QChar(u'0' + controllo / 10);
    iban[3] = QChar(u'0' + controllo % 10);
    esito.calcolato = true;
    return esito;
}

} // namespace Module1
