#include "alfabeti.h"
#include "module1.h"

#include <algorithm>

namespace Module1 {

using namespace alfabeti;

QString ConvertiLettere(const QString& testo) {
    QString cifre(2 * testo.size(), Qt::Uninitialized);
    QChar* fine = cifre.data();
    for (QChar c : testo) {
        if (isCifra(c.unicode())) {
            *fine++ = c;
        } else if (isLettera(c.unicode())) {
            const int valore = c.unicode() - 55; // A is 10, Z is 35
            *fine++ = QChar(u'0' + valore / 10);
            *fine++ = QChar(u'0' + valore % 10);
        }
    }
    cifre.truncate(fine - cifre.constData());
    return cifre;
}

QString EstraiBlocco(const QString& testo, std::int16_t n) {
    constexpr qsizetype kLunghezzaBlocco = 5;
    if (n < 1) {
        return {};
    }
    const qsizetype inizio = (qsizetype(n) - 1) * kLunghezzaBlocco;
    if (inizio >= testo.size()) {
        return {};
    }
    return testo.sliced(inizio, std::min(kLunghezzaBlocco, testo.size() - inizio));
}

} // namespace Module1
