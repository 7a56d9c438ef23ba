#include "alfabeti.h"

namespace Module1::alfabeti {

QString maiuscolo(QStringView testo) {
    QString risultato = testo.toString();
    QChar* c = risultato.data();
    const qsizetype n = risultato.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (c[i].isHighSurrogate() && i + 1 < n && c[i + 1].isLowSurrogate()) {
            const char32_t grande = QChar::toUpper(QChar::surrogateToUcs4(c[i], c[i + 1]));
            if (QChar::requiresSurrogates(grande)) {
                c[i] = QChar(QChar::highSurrogate(grande));
                c[i + 1] = QChar(QChar::lowSurrogate(grande));
            }
            ++i;
        } else {
            const char32_t grande = QChar::toUpper(char32_t(c[i].unicode()));
            if (!QChar::requiresSurrogates(grande)) {
                c[i] = QChar(char16_t(grande));
            }
        }
    }
    return risultato;
}

} // namespace Module1::alfabeti
