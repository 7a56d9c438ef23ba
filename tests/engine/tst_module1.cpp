#include "module1.h"

#include <QTest>

using namespace Module1;

namespace {
// One data row, on one line: the values in the order of the columns.
template <typename... Valori> void riga(const char* nome, const Valori&... valori) {
    (QTest::newRow(nome) << ... << valori);
}
} // namespace

class TestModule1 : public QObject {
    Q_OBJECT

private slots:
    void calcolaCIN_data();
    void calcolaCIN();
    void tabelleCIN_data();
    void tabelleCIN();
    void filtraAlfanumerici_data();
    void filtraAlfanumerici();
    void componiBBAN_data();
    void componiBBAN();
    void convertiLettere_data();
    void convertiLettere();
    void estraiBlocco_data();
    void estraiBlocco();
};

void TestModule1::calcolaCIN_data() {
    QTest::addColumn<QString>("abi");
    QTest::addColumn<QString>("cab");
    QTest::addColumn<QString>("conto");
    QTest::addColumn<QString>("cin");

    // 01234 00987 00000AB12345: sum 81, 81 mod 26 = 3.
    riga("letters, hyphen and blank", "1234", "987", "AB-12 345", "D");
    riga("padded ABI and CAB", "01234", "00987", "00000AB12345", "D");
    // 1234567890000000001234: sum 95, 95 mod 26 = 17.
    riga("digits only", "12345", "67890", "000000001234", "R");
    riga("account 87", "12345", "67890", "87", "F");
    riga("punctuation only", "12345", "67890", "--", "G");
    riga("twelve zeros", "12345", "67890", "000000000000", "G");
    riga("lower case loses its letters", "12345", "67890", "ab12", "H");
    riga("digits of ab12", "12345", "67890", "12", "H");
    riga("upper case keeps its letters", "12345", "67890", "AB12", "I");
    riga("accented letter dropped", "12345", "67890", QStringLiteral("\u00C812"), "H");
    riga("punctuation dropped", "12345", "67890", "12-34/56 78", "H");
    riga("beyond five digits: the last five", "123456", "67890", "87", "Q");
    riga("last five of 123456", "23456", "67890", "87", "Q");
    riga("all empty: twenty-two zeros", "", "", "", "L");
}

void TestModule1::calcolaCIN() {
    QFETCH(QString, abi);
    QFETCH(QString, cab);
    QFETCH(QString, conto);
    QFETCH(QString, cin);
    const QString contoPrima = conto;

    QCOMPARE(CalcolaCIN(abi, cab, conto), cin);
    QCOMPARE(conto, contoPrima);
}

// Every row of the CIN tables, one character at a time: in account position 1 (position 11,
// odd) among zeros the sum is 10 + the odd value (ten other odd zeros count 1 each); in the last
// position (22, even) it is 11 + the character's index.
void TestModule1::tabelleCIN_data() {
    QTest::addColumn<QChar>("carattere");
    QTest::addColumn<int>("dispari");
    QTest::addColumn<int>("pari");

    const int dispari[26] = {1,  0,  5, 7, 9, 13, 15, 17, 19, 21, 2,  4,  18,
                             20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};
    for (int i = 0; i < 26; ++i) {
        const QChar lettera(u'A' + i);
        QTest::addRow("%c", char('A' + i)) << lettera << dispari[i] << i;
        if (i < 10) {
            QTest::addRow("%c", char('0' + i)) << QChar(u'0' + i) << dispari[i] << i;
        }
    }
}

void TestModule1::tabelleCIN() {
    QFETCH(QChar, carattere);
    QFETCH(int, dispari);
    QFETCH(int, pari);
    const QString zeri(11, u'0');

    QCOMPARE(CalcolaCIN("00000", "00000", carattere + zeri),
             QString(QChar(u'A' + (10 + dispari) % 26)));
    QCOMPARE(CalcolaCIN("00000", "00000", zeri + carattere),
             QString(QChar(u'A' + (11 + pari) % 26)));
}

void TestModule1::filtraAlfanumerici_data() {
    QTest::addColumn<QString>("conto");
    QTest::addColumn<QString>("risultato");
    QTest::addColumn<QString>("contoDopo");

    riga("hyphen and blank", "AB-12 345", "AB12345", "AB-12 345");
    riga("lower case upper-cased first", "ab-12 345", "AB12345", "AB-12 345");
    riga("ab12", "ab12", "AB12", "AB12");
    riga("punctuation and blanks", "12-34/56 78", "12345678", "12-34/56 78");
    riga("only punctuation", "--", "", "--");
    riga("e grave becomes E grave, dropped", QStringLiteral("\u00E812"), "12",
         QStringLiteral("\u00C812"));
    // One character for one: upper cases of several characters are not taken.
    riga("sharp s stays, dropped", QStringLiteral("\u00DFx1"), "X1", QStringLiteral("\u00DFX1"));
    riga("fi ligature stays, dropped", QStringLiteral("\uFB01-1"), "1", QStringLiteral("\uFB01-1"));
    riga("n with apostrophe stays, dropped", QStringLiteral("\u01491"), "1",
         QStringLiteral("\u01491"));
    riga("j with caron stays, dropped", QStringLiteral("\u01F0a"), "A", QStringLiteral("\u01F0A"));
    riga("dotless i becomes I", QStringLiteral("\u0131"), "I", "I");
    riga("beyond the BMP, upper-cased whole", QStringLiteral("\U000104281"), "1",
         QStringLiteral("\U000104001"));
    riga("lone surrogate kept", QChar(0xD801) + QString("b"), "B", QChar(0xD801) + QString("B"));
    riga("letters and digits only", "AB12", "AB12", "AB12");
    riga("empty", "", "", "");
}

void TestModule1::filtraAlfanumerici() {
    QFETCH(QString, conto);
    QFETCH(QString, risultato);
    QFETCH(QString, contoDopo);

    QCOMPARE(FiltraAlfanumerici(conto), risultato);
    QCOMPARE(conto, contoDopo);
}

void TestModule1::componiBBAN_data() {
    QTest::addColumn<QString>("conto");
    QTest::addColumn<QString>("abi");
    QTest::addColumn<QString>("cab");
    QTest::addColumn<QString>("bban");
    QTest::addColumn<QString>("contoDopo");

    riga("short ABI and CAB, letters", "AB-12 345", "1234", "987", "D012340098700000AB12345",
         "AB-12 345");
    riga("digits only", "000000001234", "12345", "67890", "R1234567890000000001234",
         "000000001234");
    riga("leading zeros do not count", "AB-12 345", "001234", "000987", "D012340098700000AB12345",
         "AB-12 345");
    riga("account 87", "87", "12345", "67890", "F1234567890000000000087", "87");
    riga("punctuation and blanks", "12-34/56 78", "12345", "67890", "H1234567890000012345678",
         "12-34/56 78");
    riga("only punctuation: twelve zeros", "--", "12345", "67890", "G1234567890000000000000", "--");
    riga("lower case upper-cased in the caller's variable", "ab-12 345", "1234", "987",
         "D012340098700000AB12345", "AB-12 345");
    riga("accented letter dropped", QStringLiteral("\u00E812"), "12345", "67890",
         "H1234567890000000000012", QStringLiteral("\u00C812"));
    riga("sharp s adds no letters", QStringLiteral("\u00DF"), "12345", "67890",
         "G1234567890000000000000", QStringLiteral("\u00DF"));
    riga("all zeros", "0", "0", "0", "L0000000000000000000000", "0");
    // Zeros after a letter are still leading zeros: the number is 1, written once.
    riga("letters between the ABI's zeros", "12", "0A0B01", "12345", "G0000112345000000000012",
         "12");
}

void TestModule1::componiBBAN() {
    QFETCH(QString, conto);
    QFETCH(QString, abi);
    QFETCH(QString, cab);
    QFETCH(QString, bban);
    QFETCH(QString, contoDopo);

    const QString risultato = ComponiBBAN(conto, abi, cab);
    QCOMPARE(risultato, bban);
    QCOMPARE(risultato.size(), 23);
    QCOMPARE(conto, contoDopo);
    QCOMPARE(risultato.at(0), CalcolaCIN(abi, cab, contoDopo).at(0));
}

void TestModule1::convertiLettere_data() {
    QTest::addColumn<QString>("testo");
    QTest::addColumn<QString>("cifre");

    riga("hyphen dropped", "AB-1", "10111");
    riga("rearranged string", "D012340098700000AB12345IT00", "13012340098700000101112345182900");
    riga("A and Z", "AZ", "1035");
    riga("lower case dropped", "ab1", "1");
    riga("accented and blanks dropped", QStringLiteral("\u00C8 9"), "9");
    riga("empty", "", "");
}

void TestModule1::convertiLettere() {
    QFETCH(QString, testo);
    QFETCH(QString, cifre);

    QCOMPARE(ConvertiLettere(testo), cifre);
}

void TestModule1::estraiBlocco_data() {
    QTest::addColumn<QString>("testo");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("blocco");

    const QString cifre = "13012340098700000101112345182900";
    const char* blocchi[] = {"13012", "34009", "87000", "00101", "11234", "51829", "00", ""};
    for (int n = 1; n <= 8; ++n) {
        QTest::addRow("32 digits, block %d", n) << cifre << n << QString(blocchi[n - 1]);
    }
    riga("exactly five", "12345", 1, "12345");
    riga("exactly five, block 2", "12345", 2, "");
    riga("empty text has no blocks", "", 1, "");
    riga("no block 0", cifre, 0, "");
    riga("no negative block", cifre, -1, "");
    riga("largest block number", cifre, 32767, "");
}

void TestModule1::estraiBlocco() {
    QFETCH(QString, testo);
    QFETCH(int, n);
    QFETCH(QString, blocco);

    QCOMPARE(EstraiBlocco(testo, static_cast<std::int16_t>(n)), blocco);
}

QTEST_APPLESS_MAIN(TestModule1)
#include "tst_module1.moc"
