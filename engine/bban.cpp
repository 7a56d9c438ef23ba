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

// Writes that number with at least five digits (001234 and 1234 both give 01234).
QChar* scriviCodice(QChar* bban, QStringView codice, qsizetype significative) {
    bban = std::fill_n(bban, std::max<qsizetype>(0, kCifreCodice - significative), u'0');
    bool zeriIniziali = true;
    for (QChar c : codice) {
        zeriIniziali = zeriIniziali && c == u'0';
        if (isCifra(c.unicode()) && !zeriIniziali) {
            *bban++ = c;
        }
    }
    return bban;
}

} // namespace

QString FiltraAlfanumerici(QString& conto) {
    conto = std::move(conto).toUpper();
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
    const QString alfanumerici = FiltraAlfanumerici(conto);
    const qsizetype cifreABI = cifreSignificative(abi);
    const qsizetype cifreCAB = cifreSignificative(cab);
    const qsizetype zeriConto = std::max<qsizetype>(0, kLunghezzaConto - alfanumerici.size());

    QString bban(1 + std::max(kCifreCodice, cifreABI) + std::max(kCifreCodice, cifreCAB) +
                     zeriConto + alfanumerici.size(),
                 Qt::Uninitialized);
    QChar* fine = bban.data();
    *fine++ = QChar(letteraCIN(abi, cab, conto));
    fine = scriviCodice(fine, abi, cifreABI);
    fine = scriviCodice(fine, cab, cifreCAB);
    fine = std::fill_n(fine, zeriConto, u'0');
    std::copy(alfanumerici.cbegin(), alfanumerici.cend(), fine);
    return bban;
}

} // namespace Module1
