#include "calcola_iban.h"

#include <QTest>

using namespace Module1;

Q_DECLARE_METATYPE(Module1::Campo)

namespace {
const QString kCompilare = QStringLiteral("Compilare ABI, CAB e Nr. del CONTO.");
const QString kAbiCifre = QStringLiteral("Il codice ABI deve contenere soltanto cifre.");
const QString kAbiLungo =
    QStringLiteral("Il codice ABI deve essere composto al massimo da 5 cifre.");
const QString kCabCifre = QStringLiteral("Il codice CAB deve contenere soltanto cifre.");
const QString kCabLungo =
    QStringLiteral("Il codice CAB deve essere composto al massimo da 5 cifre.");
const QString kContoLungo = QStringLiteral("Il numero del conto deve essere composto al massimo "
                                           "da 12 lettere e cifre; segni e spazi non contano.");

// One data row, on one line: the values in the order of the columns.
template <typename... Valori> void riga(const char* nome, const Valori&... valori) {
    (QTest::newRow(nome) << ... << valori);
}
} // namespace

class TestCalcolaIBAN : public QObject {
    Q_OBJECT

private slots:
    void calcolato_data();
    void calcolato();
    void avviso_data();
    void avviso();
};

void TestCalcolaIBAN::calcolato_data() {
    QTest::addColumn<QString>("abi");
    QTest::addColumn<QString>("cab");
    QTest::addColumn<QString>("conto");
    QTest::addColumn<QString>("iban");

    // Remainders 14, 58, 70, 96, 86, 11, 33 over the blocks of 13012340098700000101112345182900.
    riga("letters, hyphen and blank", "1234", "987", "AB-12 345", "IT65D012340098700000AB12345");
    riga("digits only", "12345", "67890", "000000001234", "IT23R1234567890000000001234");
    riga("remainder 0: check digits 98", "12345", "67890", "87", "IT98F1234567890000000000087");
    riga("remainder 1: check digits 97", "12345", "67890", "102", "IT97J1234567890000000000102");
    riga("remainder 96: check digits 02", "12345", "67890", "16", "IT02L1234567890000000000016");
    riga("remainder 96 with letters", "1234", "987", "AB123", "IT02Q01234009870000000AB123");
    riga("only punctuation: twelve zeros", "12345", "67890", "--", "IT26G1234567890000000000000");
    riga("punctuation and blanks", "12345", "67890", "12-34/56 78", "IT46H1234567890000012345678");
    riga("lower case counts as upper case", "1234", "987", "ab-12 345",
         "IT65D012340098700000AB12345");
    riga("leading zeros do not count: 001234", "001234", "0000987", "AB-12 345",
         "IT65D012340098700000AB12345");
    riga("largest codes, twelve letters and digits among punctuation", "99999", "99999",
         "AB-12/34 56.78CD", "IT34J9999999999AB12345678CD");
    riga("twelve letters", "99999", "99999", "ZZZZZZZZZZZZ", "IT87W9999999999ZZZZZZZZZZZZ");
    riga("zero codes", "0000000", "0", "1", "IT07M0000000000000000000001");
    riga("accented letter dropped", "12345", "67890", QStringLiteral("\u00C812"),
         "IT94H1234567890000000000012");
    riga("sharp s adds no letters", "12345", "67890", QStringLiteral("\u00DF"),
         "IT26G1234567890000000000000");
    riga("twelve sharp s and a letter", "12345", "67890", QString(12, QChar(0xDF)) + "a",
         "IT88G123456789000000000000A");
}

void TestCalcolaIBAN::calcolato() {
    QFETCH(QString, abi);
    QFETCH(QString, cab);
    QFETCH(QString, conto);
    QFETCH(QString, iban);

    const EsitoCalcolo esito = CalcolaIBAN(abi, cab, conto);
    QVERIFY(esito.calcolato);
    QCOMPARE(esito.iban, iban);
    QCOMPARE(esito.avviso, QString());
}

void TestCalcolaIBAN::avviso_data() {
    QTest::addColumn<QString>("abi");
    QTest::addColumn<QString>("cab");
    QTest::addColumn<QString>("conto");
    QTest::addColumn<QString>("avviso");
    QTest::addColumn<Campo>("campo");

    riga("all empty", "", "", "", kCompilare, Campo::ABI);
    riga("ABI empty", "", "987", "12", kCompilare, Campo::ABI);
    riga("CAB empty", "1234", "", "12", kCompilare, Campo::CAB);
    riga("account empty", "1234", "987", "", kCompilare, Campo::Conto);
    riga("CAB and account empty", "1234", "", "", kCompilare, Campo::CAB);
    riga("ABI and account empty", "", "987", "", kCompilare, Campo::ABI);
    riga("empty field before a wrong one", "12a45", "", "12", kCompilare, Campo::CAB);

    riga("ABI with a letter", "12a45", "987", "12", kAbiCifre, Campo::ABI);
    riga("ABI with a blank", "12 45", "987", "12", kAbiCifre, Campo::ABI);
    riga("ABI with a sign", "-1234", "987", "12", kAbiCifre, Campo::ABI);
    riga("ABI in full-width digits", QStringLiteral("\uFF11\uFF12"), "987", "12", kAbiCifre,
         Campo::ABI);
    riga("ABI of six digits", "123456", "987", "12", kAbiLungo, Campo::ABI);
    riga("ABI 100000", "100000", "987", "12", kAbiLungo, Campo::ABI);
    riga("ABI 100000 after a zero", "0100000", "987", "12", kAbiLungo, Campo::ABI);
    riga("CAB with a dot", "1234", "9.87", "12", kCabCifre, Campo::CAB);
    riga("CAB 100000", "1234", "100000", "12", kCabLungo, Campo::CAB);
    riga("thirteen letters and digits", "1234", "987", "ABCDEFGHIJKLM", kContoLungo, Campo::Conto);
    riga("thirteen among punctuation", "1234", "987", "AB-12 345/678.901", kContoLungo,
         Campo::Conto);
    riga("ABI checked before CAB", "12a45", "100000", "12", kAbiCifre, Campo::ABI);
    riga("CAB checked before the account", "1234", "100000", "ABCDEFGHIJKLM", kCabLungo,
         Campo::CAB);
}

void TestCalcolaIBAN::avviso() {
    QFETCH(QString, abi);
    QFETCH(QString, cab);
    QFETCH(QString, conto);
    QFETCH(QString, avviso);
    QFETCH(Campo, campo);

    const EsitoCalcolo esito = CalcolaIBAN(abi, cab, conto);
    QVERIFY(!esito.calcolato);
    QCOMPARE(esito.iban, QString());
    QCOMPARE(esito.avviso, avviso);
    QCOMPARE(esito.campo, campo);
}

QTEST_APPLESS_MAIN(TestCalcolaIBAN)
#include "tst_calcola_iban.moc"
