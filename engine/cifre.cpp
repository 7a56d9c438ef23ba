#include "cifre.h"

#include "alfabeti.h"
#include "module1.h"

namespace Module1 {

using namespace alfabeti;

qsizetype convertiLettere(QStringView testo, QChar* cifre) {
    QChar* fine = cifre;
    for (QChar c : testo) {
        if (isCifra(c.unicode())) {
            *fine++ = c;
        } else if (isLettera(c.unicode())) {
            const int valore = c.unicode() - 55; // A is 10, Z is 35
            *fine++ = QChar(u'0' + valore / 10);
            *fine++ = QChar(u'0' + valore % 10);
        }
    }
    return fine - cifre;
}

QString ConvertiLettere(const QString& testo) {
    QString cifre(2 * testo.size(), Qt::Uninitialized);
    cifre.truncate(convertiLettere(testo, cifre.data()));
    return cifre;
}

QString EstraiBlocco(const QString& testo, std::int16_t n) {
    return blocco(testo, n).toString();
}

} // namespace Module1
