#include "alfabeti.h"
#include "cin.h"
#include "module1.h"

#include <algorithm>

namespace Module1 {
namespace {

using namespace alfabeti;

constexpr qsizetype kCifreCodice = 5;
constexpr qsizetype kLunghezzaConto = 12;

bool alfanumerico(QChar c) {
    return isAlfanumerico(c.unicode());
}

// The digits of an ABI or CAB text after its leading zeros: the number it stands for.
// Only digits are read; the Calculate command refuses any other character before.
qsizetype cifreSignificative(QStringView codice) {
    qsizetype significative = 0;
    for (QChar c : codice) {
        if (isCifra(c.unicode()) && (significative > 0 || c != u'0')) {
            ++significative;
        }
    }
    return significative;
}

// Writes that number with at least five digits (001234 and 1234 both give 01234): the digits
// counted above, no more, whatever other characters stand between them.
QChar* scriviCodice(QChar* bban, QStringView codice, qsizetype significative) {
    bban = std::fill_n(bban, std::max<qsizetype>(0, kCifreCodice - significative), u'0');
    bool scritte = false;
    for (QChar c : codice) {
        if (isCifra(c.unicode()) && (scritte || c != u'0')) {
            *bban++ = c;
            scritte = true;
        }
    }
    return bban;
}

// Upper-casing looks every character up in the Unicode tables, which typed accounts rarely need.
void aMaiuscolo(QString& conto) {
    if (!giaMaiuscolo(conto)) {
        conto = maiuscolo(conto);
    }
}

// The parts of a BBAN, counted once so that the buffer is sized before writing.
struct MisureBBAN {
    qsizetype cifreABI = 0;     // digits of the ABI after its leading zeros
    qsizetype cifreCAB = 0;     // likewise for the CAB
    qsizetype alfanumerici = 0; // letters and digits of the account
    qsizetype lunghezza = 0;    // of the whole BBAN
};

// `conto` must already be upper case.
MisureBBAN misuraBBAN(QStringView abi, QStringView cab, QStringView conto) {
    MisureBBAN misure;
    misure.cifreABI = cifreSignificative(abi);
    misure.cifreCAB = cifreSignificative(cab);
    misure.alfanumerici = std::count_if(conto.cbegin(), conto.cend(), alfanumerico);
    misure.lunghezza = 1 + std::max(kCifreCodice, misure.cifreABI) +
                       std::max(kCifreCodice, misure.cifreCAB) +
                       std::max(kLunghezzaConto, misure.alfanumerici);
    return misure;
}

// Writes the BBAN (CIN, ABI, CAB, account) at `bban`, which holds misure.lunghezza characters.
void scriviBBAN(QChar* bban, QStringView abi, QStringView cab, QStringView conto,
                const MisureBBAN& misure) {
    QChar* fine = scriviCodice(bban + 1, abi, misure.cifreABI);
    fine = scriviCodice(fine, cab, misure.cifreCAB);
    fine = std::fill_n(fine, std::max<qsizetype>(0, kLunghezzaConto - misure.alfanumerici), u'0');
    std::copy_if(conto.cbegin(), conto.cend(), fine, alfanumerico);
    // When every part fits its width, the characters just written are the very ones the CIN
    // is computed from; only a wider part needs the texts read again.
    bban[0] = misure.lunghezza == 1 + kCaratteriCIN
                  ? letteraCINAllineata(QStringView(bban + 1, kCaratteriCIN))
                  : letteraCIN(abi, cab, conto);
}

} // namespace

QString FiltraAlfanumerici(QString& conto) {
    aMaiuscolo(conto);
    const qsizetype tenuti = std::count_if(conto.cbegin(), conto.cend(), alfanumerico);
    if (tenuti == conto.size()) {
        return conto;
    }
    QString alfanumerici(tenuti, Qt::Uninitialized);
    std::copy_if(conto.cbegin(), conto.cend(), alfanumerici.data(), alfanumerico);
    return alfanumerici;
}

QString ComponiBBAN(QString& conto, const QString& abi, const QString& cab) {
    // The account is upper-cased before the CIN is computed, so that its letters count in the
    // CIN exactly as they stand in the BBAN, whatever case the caller passes.
    aMaiuscolo(conto);
    const MisureBBAN misure = misuraBBAN(abi, cab, conto);
    QString bban(misure.lunghezza, Qt::Uninitialized);
    scriviBBAN(bban.data(), abi, cab, conto, misure);
    return bban;
}

} // namespace Module1
