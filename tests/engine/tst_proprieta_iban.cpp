#include "calcola_iban.h"
#include "module1.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Module1;

namespace {

// ISO 7064 MOD 97-10 worked one digit at a time over characters 5 to 27 and then 1 to 4,
// letters as 10 to 35: independent of the five-digit blocks of the program.
int resto97(const QString& iban) {
    const QString riordinato = iban.mid(4) + iban.left(4);
    int resto = 0;
    for (QChar c : riordinato) {
        if (c.isDigit()) {
            resto = (resto * 10 + c.digitValue()) % 97;
        } else {
            resto = (resto * 100 + (c.unicode() - u'A' + 10)) % 97;
        }
    }
    return resto;
}

QString soloCifre(const QString& testo) {
    QString cifre;
    for (QChar c : testo) {
        if (c >= u'0' && c <= u'9') {
            cifre.append(c);
        }
    }
    return cifre;
}

QString soloAlfanumerici(const QString& testo) {
    QString tenuti;
    for (QChar c : testo) {
        if ((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z')) {
            tenuti.append(c);
        }
    }
    return tenuti;
}

bool codiceNeiLimiti(const QString& codice) {
    return soloCifre(codice) == codice && codice.toLongLong() < 100000;
}

class Generatore {
public:
    explicit Generatore(quint32 seme) : rng(seme) {}

    QString caratteri(const char* alfabeto, int quanti) {
        const int n = int(qstrlen(alfabeto));
        QString testo;
        for (int i = 0; i < quanti; ++i) {
            testo.append(QChar(alfabeto[rng.bounded(n)]));
        }
        return testo;
    }

    // Mostly ABI or CAB as typed, with leading zeros at times; one in eight beyond the widths.
    QString codice() {
        switch (rng.bounded(16)) {
        case 0:
            return QString::number(rng.bounded(100000, 100000000));
        case 1: {
            QString testo = QString::number(rng.bounded(100000));
            testo.insert(rng.bounded(testo.size() + 1), caratteri("a -.+", 1));
            return testo;
        }
        default:
            return QString(rng.bounded(3), u'0') + QString::number(rng.bounded(100000));
        }
    }

    // Letters of either case, digits and some punctuation, upper-cased as the window does:
    // up to 12 letters and digits, beyond that one time in ten.
    QString conto() {
        const int alfanumerici = rng.bounded(10) == 0 ? rng.bounded(13, 20) : rng.bounded(13);
        QString testo = caratteri("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
                                  alfanumerici);
        const int segni = alfanumerici == 0 ? rng.bounded(1, 4) : rng.bounded(4);
        for (int i = 0; i < segni; ++i) {
            const QString segno =
                rng.bounded(5) == 0 ? QStringLiteral("\u00E8") : caratteri(" -/.,_", 1);
            testo.insert(rng.bounded(testo.size() + 1), segno);
        }
        return testo.toUpper();
    }

private:
    QRandomGenerator rng;
};

} // namespace

class TestProprietaIBAN : public QObject {
    Q_OBJECT

private slots:
    void ibanValidoOppureRifiutato();
    void testiComeQString();
};

// Every IBAN produced is well formed, passes MOD 97-10 and carries the CIN of its own
// coordinates; input beyond the widths never produces one.
void TestProprietaIBAN::ibanValidoOppureRifiutato() {
    Generatore genera(20240517);
    int calcolati = 0;
    int rifiutati = 0;
    for (int i = 0; i < 5000; ++i) {
        const QString abi = genera.codice();
        const QString cab = genera.codice();
        const QString conto = genera.conto();
        const QString alfanumerici = soloAlfanumerici(conto);
        const bool neiLimiti =
            codiceNeiLimiti(abi) && codiceNeiLimiti(cab) && alfanumerici.size() <= 12;
        const QByteArray caso =
            QStringLiteral("ABI '%1' CAB '%2' conto '%3'").arg(abi, cab, conto).toUtf8();

        const EsitoCalcolo esito = CalcolaIBAN(abi, cab, conto);
        if (!neiLimiti) {
            ++rifiutati;
            QVERIFY2(!esito.calcolato && esito.iban.isEmpty() && !esito.avviso.isEmpty(),
                     caso.constData());
            continue;
        }
        ++calcolati;
        const QString& iban = esito.iban;
        QVERIFY2(esito.calcolato, caso.constData());
        QVERIFY2(iban.size() == 27 && iban.startsWith(u"IT"), caso.constData());
        QVERIFY2(resto97(iban) == 1, caso.constData());
        const int controllo = iban.mid(2, 2).toInt();
        QVERIFY2(controllo >= 2 && controllo <= 98, caso.constData());
        QVERIFY2(iban.mid(4, 1) == CalcolaCIN(abi, cab, conto), caso.constData());
        QVERIFY2(iban.mid(5, 5) == QString::number(abi.toInt()).rightJustified(5, u'0'),
                 caso.constData());
        QVERIFY2(iban.mid(10, 5) == QString::number(cab.toInt()).rightJustified(5, u'0'),
                 caso.constData());
        QVERIFY2(iban.mid(15) == alfanumerici.rightJustified(12, u'0'), caso.constData());
        // The command writes its BBAN in place; it must be the one ComponiBBAN composes.
        QString contoComposto = conto;
        QVERIFY2(iban.mid(4) == ComponiBBAN(contoComposto, abi, cab), caso.constData());
    }
    // Both kinds of input were really exercised.
    QVERIFY(calcolati > 3000);
    QVERIFY(rifiutati > 500);
}

// The entry point for bytes gives what the QString one gives, warnings and fields included,
// also for accounts typed in lower case, which it upper-cases itself.
void TestProprietaIBAN::testiComeQString() {
    Generatore genera(20260117);
    int confrontati = 0;
    for (int i = 0; i < 5000; ++i) {
        const QString abi = i % 50 == 0 ? QString() : genera.codice();
        const QString cab = i % 70 == 0 ? QString() : genera.codice();
        QString conto = i % 90 == 0 ? QString() : genera.conto();
        if (i % 2 == 0) {
            conto = conto.toLower();
        }
        const QByteArray abi8 = abi.toUtf8();
        const QByteArray cab8 = cab.toUtf8();
        const QByteArray conto8 = conto.toUtf8();
        if (conto8.size() != conto.size()) {
            continue; // beyond ASCII the account belongs to the QString entry point
        }
        ++confrontati;
        const QByteArray caso = "ABI '" + abi8 + "' CAB '" + cab8 + "' conto '" + conto8 + "'";
        const EsitoCalcolo atteso = CalcolaIBAN(abi, cab, conto);
        const EsitoCalcoloTesto esito =
            CalcolaIBAN(std::string_view(abi8.constData(), abi8.size()),
                        std::string_view(cab8.constData(), cab8.size()),
                        std::string_view(conto8.constData(), conto8.size()));
        QVERIFY2(esito.calcolato == atteso.calcolato, caso.constData());
        if (atteso.calcolato) {
            QCOMPARE(QString::fromLatin1(esito.iban.data(), 27), atteso.iban);
        } else {
            QCOMPARE(QString::fromUtf8(esito.avviso), atteso.avviso);
            QVERIFY2(esito.campo == atteso.campo, caso.constData());
        }
    }
    QVERIFY(confrontati > 3000);
}

QTEST_APPLESS_MAIN(TestProprietaIBAN)
#include "tst_proprieta_iban.moc"
