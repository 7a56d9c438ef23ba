#include "calcola_iban.h"
#include "forme.h"
#include "module1.h"
#include "testi.h"
#include "verifica_iban.h"
#include "verifica_qt.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace verifier;

namespace {

const QString kAlfabeto = QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ");

bool cifra(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool lettera(QChar c) {
    return c >= u'A' && c <= u'Z';
}

// ISO 7064 MOD 97-10 one decimal digit at a time over characters 5 to 27 and then 1 to 4:
// independent of the verifier's tables.
int resto97(const QString& iban) {
    int resto = 0;
    for (QChar c : iban.mid(4) + iban.left(4)) {
        const int valore = cifra(c) ? c.unicode() - u'0' : c.unicode() - u'A' + 10;
        resto = valore < 10 ? (resto * 10 + valore) % 97 : (resto * 100 + valore) % 97;
    }
    return resto;
}

// What a valid Italian or San Marino IBAN is, written out plainly from the published rules.
bool ibanValido(const QString& iban) {
    if (iban.size() != 27 || !(iban.startsWith(u"IT") || iban.startsWith(u"SM"))) {
        return false;
    }
    for (int p = 2; p < 27; ++p) {
        const QChar c = iban[p];
        const bool soloCifra = p < 4 || (p >= 5 && p < 15);
        if ((soloCifra && !cifra(c)) || (p == 4 && !lettera(c)) || (!cifra(c) && !lettera(c))) {
            return false;
        }
    }
    const int controllo = iban.mid(2, 2).toInt();
    return controllo >= 2 && controllo <= 98 && resto97(iban) == 1 &&
           Module1::CalcolaCIN(iban.mid(5, 5), iban.mid(10, 5), iban.mid(15)) == iban.mid(4, 1);
}

// Every text one slip away: each character changed, adjacent pair swapped, character dropped,
// character added.
QStringList svisteDi(const QString& testo) {
    QStringList sviste;
    for (int i = 0; i < testo.size(); ++i) {
        for (QChar c : kAlfabeto) {
            if (c != testo[i]) {
                sviste << QString(testo).replace(i, 1, c);
            }
        }
        if (i + 1 < testo.size() && testo[i] != testo[i + 1]) {
            QString scambiato = testo;
            std::swap(scambiato[i], scambiato[i + 1]);
            sviste << scambiato;
        }
        sviste << QString(testo).remove(i, 1);
    }
    for (int i = 0; i <= testo.size(); ++i) {
        for (QChar c : kAlfabeto) {
            sviste << QString(testo).insert(i, c);
        }
    }
    return sviste;
}

// The same BBAN as a San Marino IBAN, with its own check digits.
QString sammarinese(QString iban) {
    iban.replace(0, 4, QStringLiteral("SM00"));
    iban.replace(2, 2, QStringLiteral("%1").arg(98 - resto97(iban), 2, 10, QChar(u'0')));
    return iban;
}

// What a user who obeys the reason types: the check digits or the CIN it names, in their place;
// the text as it is when it names none.
QString obbedisci(QString testo, const QString& motivo) {
    static const QRegularExpression cifre(QStringLiteral("dovrebbero essere (\\d\\d)\\."));
    static const QRegularExpression cin(QStringLiteral("dovrebbe essere ([A-Z])\\."));
    if (const QRegularExpressionMatch m = cifre.match(motivo); m.hasMatch()) {
        testo.replace(2, 2, m.captured(1));
    }
    if (const QRegularExpressionMatch m = cin.match(motivo); m.hasMatch()) {
        testo.replace(4, 1, m.captured(1));
    }
    return testo;
}

// The same, round after round, as long as the reason names something to type.
QString obbedisciFinoInFondo(QString testo) {
    for (int giro = 0; giro < 4; ++giro) {
        const Risultato r = verifica(testo.toStdString());
        const QString obbedito = obbedisci(testo, qtesto(motivo(r)));
        if (r.valido() || obbedito == testo) {
            break;
        }
        testo = obbedito;
    }
    return testo;
}

QSet<QString> suggeriti(const Risultato& r) {
    QSet<QString> iban;
    for (int i = 0; i < r.suggerimenti.numero; ++i) {
        iban.insert(qtesto(r.suggerimenti[i]));
    }
    return iban;
}

class Generatore {
public:
    explicit Generatore(quint32 seme) : rng(seme) {}

    QString caratteri(const QString& alfabeto, int quanti) {
        QString testo;
        for (int i = 0; i < quanti; ++i) {
            testo.append(alfabeto[rng.bounded(int(alfabeto.size()))]);
        }
        return testo;
    }

    // An IBAN the calculator makes: short codes, accounts of digits or letters and digits.
    QString ibanCalcolato() {
        const QString abi = caratteri(kAlfabeto.left(10), rng.bounded(1, 6));
        const QString cab = caratteri(kAlfabeto.left(10), rng.bounded(1, 6));
        const QString conto =
            caratteri(rng.bounded(2) == 0 ? kAlfabeto.left(10) : kAlfabeto, rng.bounded(1, 13));
        const Module1::EsitoCalcolo esito = Module1::CalcolaIBAN(abi, cab, conto);
        return esito.iban;
    }

    // One or two random slips on a valid IBAN.
    QString sbagliato(const QString& iban) {
        QString testo = iban;
        const int sviste = rng.bounded(1, 3);
        for (int k = 0; k < sviste; ++k) {
            const QStringList tutte = svisteDi(testo);
            testo = tutte[rng.bounded(int(tutte.size()))];
        }
        return testo;
    }

    QRandomGenerator rng;
};

} // namespace

class TestProprietaVerifica : public QObject {
    Q_OBJECT

private slots:
    void ogniIBANCalcolatoEValido();
    void unaSvistaSiVedeESiCorregge();
    void suggerimentiSonoTuttiEdEsatti();
    void motivoNonPortaAdAltriConti();
};

// Whatever the calculator makes verifies valid from each of its three forms, with its parts.
void TestProprietaVerifica::ogniIBANCalcolatoEValido() {
    Generatore genera(20250301);
    for (int i = 0; i < 3000; ++i) {
        const QString iban = genera.ibanCalcolato();
        const Risultato r = verifica(iban.toStdString());
        QVERIFY2(r.valido(), qPrintable(iban));
        QCOMPARE(qtesto(r.elettronico), iban);
        QCOMPARE(qtesto(r.abi()), iban.mid(5, 5));
        QCOMPARE(qtesto(r.cab()), iban.mid(10, 5));
        QCOMPARE(qtesto(r.conto()), iban.mid(15));
        QCOMPARE(qtesto(r.cin()), iban.mid(4, 1));
        QVERIFY2(verifica(cartaceo(r.elettronico)).valido(), qPrintable(iban));
        QVERIFY2(verifica(perCampi(r)).valido(), qPrintable(iban));
        QVERIFY2(verifica(iban.toLower().toStdString()).valido(), qPrintable(iban));
    }
}

// Every changed character and every swapped pair of a valid IBAN is refused and the IBAN is
// among the suggestions; except where the slip makes another valid IBAN, which the CIN and MOD
// 97-10 together cannot tell (a digit for the letter of the same CIN index, say 3 for D, where
// the remainder before it is 43): then the verifier must find it valid, as the rules do.
void TestProprietaVerifica::unaSvistaSiVedeESiCorregge() {
    Generatore genera(20250302);
    int sviste = 0;
    int indistinguibili = 0;
    for (int i = 0; i < 120; ++i) {
        QString iban = genera.ibanCalcolato();
        if (i % 4 == 0) {
            iban = sammarinese(iban);
        }
        QVERIFY2(ibanValido(iban), qPrintable(iban));
        for (int p = 0; p < 27; ++p) {
            QStringList varianti;
            for (QChar c : kAlfabeto) {
                if (c != iban[p]) {
                    varianti << QString(iban).replace(p, 1, c);
                }
            }
            if (p + 1 < 27 && iban[p] != iban[p + 1]) {
                QString scambiato = iban;
                std::swap(scambiato[p], scambiato[p + 1]);
                varianti << scambiato;
            }
            for (const QString& variante : varianti) {
                ++sviste;
                const Risultato r = verifica(variante.toStdString());
                if (r.valido()) {
                    ++indistinguibili;
                    QVERIFY2(ibanValido(variante), qPrintable(variante));
                    continue;
                }
                QVERIFY2(!ibanValido(variante), qPrintable(variante));
                QVERIFY2(suggeriti(r).contains(iban) || r.suggerimenti.troppi,
                         qPrintable(variante + QStringLiteral(" for ") + iban));
            }
        }
    }
    qInfo("%d slips, %d of them another valid IBAN", sviste, indistinguibili);
    QVERIFY(indistinguibili * 1000 < sviste);
}

// On texts one or two slips from valid IBANs, the suggestions are exactly the valid IBANs one
// slip away, found here by trying every slip.
void TestProprietaVerifica::suggerimentiSonoTuttiEdEsatti() {
    Generatore genera(20250303);
    int conSuggerimenti = 0;
    for (int i = 0; i < 250; ++i) {
        const QString testo = genera.sbagliato(genera.ibanCalcolato());
        QSet<QString> attesi;
        for (const QString& variante : svisteDi(testo)) {
            if (variante != testo && ibanValido(variante)) {
                attesi.insert(variante);
            }
        }
        const Risultato r = verifica(testo.toStdString());
        if (r.valido()) {
            continue;
        }
        if (attesi.size() > Suggerimenti::kMassimo) {
            QVERIFY2(r.suggerimenti.troppi, qPrintable(testo));
            continue;
        }
        QVERIFY2(suggeriti(r) == attesi, qPrintable(testo));
        QCOMPARE(r.suggerimenti.numero, int(attesi.size()));
        conSuggerimenti += attesi.isEmpty() ? 0 : 1;
    }
    QVERIFY(conSuggerimenti > 100);
}

// A reason never leads to the valid IBAN of another account. After one slip in ABI, CAB or the
// account, typing what the reason names, round after round, never gives a valid IBAN but the
// original. When only
// the check digits, or only the CIN, are wrong, the reason names the right ones, unless another
// slip explains the text as well: then the suggestions show both ways.
void TestProprietaVerifica::motivoNonPortaAdAltriConti() {
    Generatore genera(20250304);
    int nominati = 0;
    int taciuti = 0;
    const auto altraVia = [](const Risultato& r, const QString& iban) {
        return r.suggerimenti.troppi || !(suggeriti(r) - QSet<QString>{iban}).isEmpty();
    };
    for (int i = 0; i < 3000; ++i) {
        QString iban = genera.ibanCalcolato();
        if (i % 4 == 0) {
            iban = sammarinese(iban);
        }
        QVERIFY2(ibanValido(iban), qPrintable(iban));

        // A changed character of the kind its place takes, or two neighbours swapped.
        QString svista = iban;
        const int p = genera.rng.bounded(5, 27);
        if (p < 26 && genera.rng.bounded(4) == 0 && iban[p] != iban[p + 1] &&
            (p >= 15 || (cifra(iban[p]) && cifra(iban[p + 1])))) {
            std::swap(svista[p], svista[p + 1]);
        } else {
            const QString alfabeto = p < 15 ? kAlfabeto.left(10) : kAlfabeto;
            while (svista == iban) {
                svista[p] = alfabeto[genera.rng.bounded(int(alfabeto.size()))];
            }
        }
        if (!verifica(svista.toStdString()).valido()) {
            const QString obbedito = obbedisciFinoInFondo(svista);
            QVERIFY2(obbedito == iban || !ibanValido(obbedito),
                     qPrintable(svista + QStringLiteral(" gives ") + obbedito));
        }

        QString cifre = iban;
        while (cifre == iban) {
            cifre.replace(2, 2,
                          QStringLiteral("%1").arg(genera.rng.bounded(100), 2, 10, QChar(u'0')));
        }
        QString cin = iban;
        while (cin == iban) {
            cin[4] = kAlfabeto[genera.rng.bounded(10, 36)];
        }
        for (const QString& sbagliato : {cifre, cin}) {
            const Risultato s = verifica(sbagliato.toStdString());
            const QString obbedito = obbedisci(sbagliato, qtesto(motivo(s)));
            if (obbedito != sbagliato) {
                QCOMPARE(obbedito, iban);
                ++nominati;
            } else {
                QVERIFY2(altraVia(s, iban), qPrintable(sbagliato));
                ++taciuti;
            }
        }
    }
    qInfo("%d right values named, %d left to the suggestions", nominati, taciuti);
    QVERIFY(nominati > 3 * taciuti);
}

QTEST_APPLESS_MAIN(TestProprietaVerifica)
#include "tst_proprieta_verifica.moc"
