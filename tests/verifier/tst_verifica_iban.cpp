#include "forme.h"
#include "suggerimenti.h"
#include "testi.h"
#include "verifica_iban.h"
#include "verifica_qt.h"

#include <QTest>

using namespace verifier;

Q_DECLARE_METATYPE(verifier::Esito)

namespace {

// One data row, on one line: the values in the order of the columns.
template <typename... Valori> void riga(const char* nome, const Valori&... valori) {
    (QTest::newRow(nome) << ... << valori);
}

std::string_view vista(const QByteArray& testo) {
    return {testo.constData(), static_cast<std::size_t>(testo.size())};
}

QStringList elenco(const Suggerimenti& suggerimenti) {
    QStringList iban;
    for (int i = 0; i < suggerimenti.numero; ++i) {
        iban << qtesto(suggerimenti[i]);
    }
    return iban;
}

const QByteArray kEsempio = "IT60X0542811101000000123456";
const QStringList kNessuno;
const QStringList kEsempioSoltanto = {QString::fromLatin1(kEsempio)};

// The SWIFT IBAN Registry's own examples (Release 100, "IBAN electronic format example"),
// with the length the registry gives for each country.
struct Registrato {
    const char* iban;
    int lunghezza;
};
const Registrato kRegistro[] = {
    {"AD1200012030200359100100", 24},
    {"AE070331234567890123456", 23},
    {"AL47212110090000000235698741", 28},
    {"AT611904300234573201", 20},
    {"AZ21NABZ00000000137010001944", 28},
    {"BA391290079401028494", 20},
    {"BE68539007547034", 16},
    {"BG80BNBG96611020345678", 22},
    {"BH67BMAG00001299123456", 22},
    {"BI4210000100010000332045181", 27},
    {"BR1800360305000010009795493C1", 29},
    {"BY13NBRB3600900000002Z00AB00", 28},
    {"CH9300762011623852957", 21},
    {"CR05015202001026284066", 22},
    {"CY17002001280000001200527600", 28},
    {"CZ6508000000192000145399", 24},
    {"DE89370400440532013000", 22},
    {"DJ2100010000000154000100186", 27},
    {"DK5000400440116243", 18},
    {"DO28BAGR00000001212453611324", 28},
    {"EE382200221020145685", 20},
    {"EG380019000500000000263180002", 29},
    {"ES9121000418450200051332", 24},
    {"FI2112345600000785", 18},
    {"FK88SC123456789012", 18},
    {"FO6264600001631634", 18},
    {"FR1420041010050500013M02606", 27},
    {"GB29NWBK60161331926819", 22},
    {"GE29NB0000000101904917", 22},
    {"GI75NWBK000000007099453", 23},
    {"GL8964710001000206", 18},
    {"GR1601101250000000012300695", 27},
    {"GT82TRAJ01020000001210029690", 28},
    {"HN88CABF00000000000250005469", 28},
    {"HR1210010051863000160", 21},
    {"HU42117730161111101800000000", 28},
    {"IE29AIBK93115212345678", 22},
    {"IL620108000000099999999", 23},
    {"IQ98NBIQ850123456789012", 23},
    {"IS140159260076545510730339", 26},
    {"IT60X0542811101000000123456", 27},
    {"JO94CBJO0010000000000131000302", 30},
    {"KW81CBKU0000000000001234560101", 30},
    {"KZ86125KZT5004100100", 20},
    {"LB62099900000001001901229114", 28},
    {"LC55HEMM000100010012001200023015", 32},
    {"LI21088100002324013AA", 21},
    {"LT121000011101001000", 20},
    {"LU280019400644750000", 20},
    {"LV80BANK0000435195001", 21},
    {"LY83002048000020100120361", 25},
    {"MC5811222000010123456789030", 27},
    {"MD24AG000225100013104168", 24},
    {"ME25505000012345678951", 22},
    {"MK07250120000058984", 19},
    {"MN121234123456789123", 20},
    {"MR1300020001010000123456753", 27},
    {"MT84MALT011000012345MTLCAST001S", 31},
    {"MU17BOMM0101101030300200000MUR", 30},
    {"NI45BAPR00000013000003558124", 28},
    {"NL91ABNA0417164300", 18},
    {"NO9386011117947", 15},
    {"OM810180000001299123456", 23},
    {"PK36SCBL0000001123456702", 24},
    {"PL61109010140000071219812874", 28},
    {"PS92PALS000000000400123456702", 29},
    {"PT50000201231234567890154", 25},
    {"QA58DOHB00001234567890ABCDEFG", 29},
    {"RO49AAAA1B31007593840000", 24},
    {"RS35260005601001611379", 22},
    {"RU0304452522540817810538091310419", 33},
    {"SA0380000000608010167519", 24},
    {"SC18SSCB11010000000000001497USD", 31},
    {"SD2129010501234001", 18},
    {"SE4550000000058398257466", 24},
    {"SI56263300012039086", 19},
    {"SK3112000000198742637541", 24},
    {"SM86U0322509800000000270100", 27},
    {"SO211000001001000100141", 23},
    {"ST23000100010051845310146", 25},
    {"SV62CENR00000000000000700025", 28},
    {"TL380080012345678910157", 23},
    {"TN5910006035183598478831", 24},
    {"TR330006100519786457841326", 26},
    {"UA213223130000026007233566001", 29},
    {"VA59001123000012345678", 22},
    {"VG96VPVG0000012345678901", 24},
    {"XK051212012345678906", 20},
    {"YE15CBYE0001018861234567891234", 30},
};

} // namespace

class TestVerificaIBAN : public QObject {
    Q_OBJECT

private slots:
    void esiti_data();
    void esiti();
    void partiEForme_data();
    void partiEForme();
    void registro();
    void troppiSuggerimenti();
    void adattatoreQt();
};

void TestVerificaIBAN::esiti_data() {
    QTest::addColumn<QByteArray>("testo");
    QTest::addColumn<Esito>("esito");
    QTest::addColumn<QByteArray>("elettronico");
    QTest::addColumn<QString>("motivo");
    QTest::addColumn<QStringList>("suggerimenti");

    const Esito valido = Esito::Valido;
    const QString nessuno;
    // What people paste: every accepted form gives the same electronic form.
    riga("electronic form", kEsempio, valido, kEsempio, nessuno, kNessuno);
    riga("print form", QByteArray("IT60 X054 2811 1010 0000 0123 456"), valido, kEsempio, nessuno,
         kNessuno);
    riga("lower case, label and colon", QByteArray("iban: it60 x054 2811 1010 0000 0123 456"),
         valido, kEsempio, nessuno, kNessuno);
    riga("label in mixed case, no colon", QByteArray("Iban IT60X0542811101000000123456"), valido,
         kEsempio, nessuno, kNessuno);
    riga("space before the colon", QByteArray("IBAN : IT60X0542811101000000123456"), valido,
         kEsempio, nessuno, kNessuno);
    riga("label twice", QByteArray("IBAN: iban IT60X0542811101000000123456"), valido, kEsempio,
         nessuno, kNessuno);
    riga("tabs", QByteArray("IT60\tX054\t2811\t1010\t0000\t0123\t456\t"), valido, kEsempio, nessuno,
         kNessuno);
    riga("no-break, narrow and thin spaces",
         QByteArray("IT60\u00A0X054\u202F2811\u20091010 0000 0123 456"), valido, kEsempio, nessuno,
         kNessuno);
    riga("zero-width space and BOM", QByteArray("\uFEFFIT60X054\u200B2811101000000123456"), valido,
         kEsempio, nessuno, kNessuno);
    riga("hyphens between groups", QByteArray("IT60-X054-2811-1010-0000-0123-456"), valido,
         kEsempio, nessuno, kNessuno);
    riga("dots between groups, spaced hyphen", QByteArray("IT60.X054.2811 - 1010.0000.0123.456"),
         valido, kEsempio, nessuno, kNessuno);
    riga("San Marino", QByteArray("SM86 U032 2509 8000 0000 0270 100"), valido,
         QByteArray("SM86U0322509800000000270100"), nessuno, kNessuno);
    riga("another country", QByteArray("de89 3704 0044 0532 0130 00"), valido,
         QByteArray("DE89370400440532013000"), nessuno, kNessuno);

    // Refused characters: named, with their position in characters of the text as given.
    const Esito rifiutato = Esito::CarattereNonAmmesso;
    const QByteArray niente;
    riga("sign", QByteArray("IT60#X"), rifiutato, niente,
         QStringLiteral("Il carattere «#» in posizione 5 non può stare in un IBAN."), kNessuno);
    riga("counted in characters, not bytes", QByteArray("\uFEFF\u00A0IT60€"), rifiutato, niente,
         QStringLiteral("Il carattere «€» (U+20AC) in posizione 7 non può stare in un IBAN."),
         kNessuno);
    riga("sharp s stays one character", QByteArray("IT60 ß"), rifiutato, niente,
         QStringLiteral("Il carattere «ß» (U+00DF) in posizione 6 non può stare in un IBAN."),
         kNessuno);
    riga("invisible character by its code", QByteArray("IT60\u200CX054"), rifiutato, niente,
         QStringLiteral("Il carattere U+200C in posizione 5 non può stare in un IBAN."), kNessuno);
    riga("carriage return", QByteArray("IT60X\r"), rifiutato, niente,
         QStringLiteral("Il carattere U+000D in posizione 6 non può stare in un IBAN."), kNessuno);
    riga("not UTF-8", QByteArray("IT60\xFFX"), rifiutato, niente,
         QStringLiteral("Il byte 0xFF in posizione 5 non è testo UTF-8 valido."), kNessuno);
    riga("leading hyphen", QByteArray("-IT60X0542811101000000123456"), rifiutato, niente,
         QStringLiteral("Il trattino in posizione 1 non sta tra due gruppi di caratteri."),
         kNessuno);
    riga("two hyphens", QByteArray("IT60--X054"), rifiutato, niente,
         QStringLiteral("Il trattino in posizione 6 non sta tra due gruppi di caratteri."),
         kNessuno);
    riga("trailing dot", QByteArray("IT60X0542811101000000123456. "), rifiutato, niente,
         QStringLiteral("Il punto in posizione 28 non sta tra due gruppi di caratteri."), kNessuno);
    riga("colon inside", QByteArray("IT60:X0542811101000000123456"), rifiutato, niente,
         QStringLiteral("I due punti in posizione 5 possono seguire soltanto la parola IBAN."),
         kNessuno);

    const QString vuoto = QStringLiteral("Nessun IBAN da verificare: il testo è vuoto.");
    riga("empty", QByteArray(), Esito::Vuoto, niente, vuoto, kNessuno);
    riga("blanks only", QByteArray(" \t\u00A0\u200B"), Esito::Vuoto, niente, vuoto, kNessuno);
    riga("label only", QByteArray("IBAN: "), Esito::Vuoto, niente, vuoto, kNessuno);

    // The checks, each with its reason.
    riga("country of a digit", QByteArray("1T60X0542811101000000123456"), Esito::PaeseNonLettere,
         QByteArray("1T60X0542811101000000123456"),
         QStringLiteral("Un IBAN comincia con le due lettere del paese, non con «1T»."),
         kEsempioSoltanto);
    riga("unknown country", QByteArray("XX60X0542811101000000123456"), Esito::PaeseSconosciuto,
         QByteArray("XX60X0542811101000000123456"),
         QStringLiteral("«XX» non è la sigla di un paese che usa l'IBAN."), kNessuno);
    riga("territory under another prefix", QByteArray("GP1420041010050500013M02606"),
         Esito::PaeseSconosciuto, QByteArray("GP1420041010050500013M02606"),
         QStringLiteral("«GP» non è la sigla di un paese che usa l'IBAN."), kNessuno);
    riga("Italian, one character missing", QByteArray("IT60X054281110100000012345"),
         Esito::Lunghezza, QByteArray("IT60X054281110100000012345"),
         QStringLiteral("Gli IBAN di IT hanno 27 caratteri, questo ne ha 26."), kEsempioSoltanto);
    riga("Italian, one character extra", QByteArray("IT60X05428111010000000123456"),
         Esito::Lunghezza, QByteArray("IT60X05428111010000000123456"),
         QStringLiteral("Gli IBAN di IT hanno 27 caratteri, questo ne ha 28."), kEsempioSoltanto);
    // One extra letter in front makes the length of another country's IBANs, 28.
    riga("Italian, extra letter makes Nicaragua", QByteArray("NIT60X0542811101000000123456"),
         Esito::Struttura, QByteArray("NIT60X0542811101000000123456"),
         QStringLiteral(
             "Il carattere 3 («T») dovrebbe essere una cifra: è una delle cifre di controllo."),
         kEsempioSoltanto);
    riga("San Marino, extra letter makes El Salvador", QByteArray("SVM86U0322509800000000270100"),
         Esito::Struttura, QByteArray("SVM86U0322509800000000270100"),
         QStringLiteral(
             "Il carattere 3 («M») dovrebbe essere una cifra: è una delle cifre di controllo."),
         QStringList{QStringLiteral("SM86U0322509800000000270100")});
    riga("German, too long: no suggestion", QByteArray("DE893704004405320130001"), Esito::Lunghezza,
         QByteArray("DE893704004405320130001"),
         QStringLiteral("Gli IBAN di DE hanno 22 caratteri, questo ne ha 23."), kNessuno);
    riga("letter in the check digits", QByteArray("IT6OX0542811101000000123456"), Esito::Struttura,
         QByteArray("IT6OX0542811101000000123456"),
         QStringLiteral(
             "Il carattere 4 («O») dovrebbe essere una cifra: è una delle cifre di controllo."),
         kEsempioSoltanto);
    riga("digit for the CIN", QByteArray("IT6000542811101000000123456"), Esito::Struttura,
         QByteArray("IT6000542811101000000123456"),
         QStringLiteral("Il carattere 5 («0») dovrebbe essere una lettera: è il CIN."),
         kEsempioSoltanto);
    riga(
        "letter in the ABI", QByteArray("IT60X0542S11101000000123456"), Esito::Struttura,
        QByteArray("IT60X0542S11101000000123456"),
        QStringLiteral("Il carattere 10 («S») dovrebbe essere una cifra: fa parte del codice ABI."),
        kEsempioSoltanto);
    riga(
        "lower-case l in the CAB", QByteArray("IT60X0542811l01000000123456"), Esito::Struttura,
        QByteArray("IT60X0542811L01000000123456"),
        QStringLiteral("Il carattere 13 («L») dovrebbe essere una cifra: fa parte del codice CAB."),
        kEsempioSoltanto);
    riga("wrong CIN, right MOD 97-10", QByteArray("IT65A0542811101000000123456"), Esito::Controllo,
         QByteArray("IT65A0542811101000000123456"),
         QStringLiteral("Il CIN è A, ma per ABI, CAB e conto dovrebbe essere X. Le cifre di "
                        "controllo tornano: l'errore si vede solo dal CIN."),
         kNessuno);
    riga("wrong check digits", QByteArray("IT61X0542811101000000123456"), Esito::Controllo,
         QByteArray("IT61X0542811101000000123456"),
         QStringLiteral("Le cifre di controllo sono 61, ma dovrebbero essere 60."),
         kEsempioSoltanto);
    riga("both wrong: two ways back", QByteArray("IT60X0542811101000000123465"), Esito::Controllo,
         QByteArray("IT60X0542811101000000123465"),
         QStringLiteral("Le cifre di controllo sono 60, ma dovrebbero essere 11. Il CIN è X, ma "
                        "per ABI, CAB e conto dovrebbe essere Y."),
         QStringList{QStringLiteral("IT60X0542811101000000113465"), QString::fromLatin1(kEsempio)});
    // 00 and 97 (01 and 98) leave the same remainder: MOD 97-10 alone would pass them.
    riga("check digits 00 for 97", QByteArray("IT00J1234567890000000000102"), Esito::Controllo,
         QByteArray("IT00J1234567890000000000102"),
         QStringLiteral("Le cifre di controllo sono 00, ma dovrebbero essere 97."), kNessuno);
    riga("check digits 01 for 98", QByteArray("IT01F1234567890000000000087"), Esito::Controllo,
         QByteArray("IT01F1234567890000000000087"),
         QStringLiteral("Le cifre di controllo sono 01, ma dovrebbero essere 98."), kNessuno);
    riga("San Marino, wrong CIN", QByteArray("SM86A0322509800000000270100"), Esito::Controllo,
         QByteArray("SM86A0322509800000000270100"),
         QStringLiteral("Le cifre di controllo sono 86, ma dovrebbero essere 06. Il CIN è A, ma "
                        "per ABI, CAB e conto dovrebbe essere U."),
         QStringList{QStringLiteral("SM86U0322509800000000270100"),
                     QStringLiteral("SM86A0322509800300000270100")});
    riga("German, wrong check digits: no suggestion", QByteArray("DE88370400440532013000"),
         Esito::Controllo, QByteArray("DE88370400440532013000"),
         QStringLiteral("Le cifre di controllo sono 88, ma dovrebbero essere 89."), kNessuno);
    riga("German, letter in the check digits", QByteArray("DE8X370400440532013000"),
         Esito::Struttura, QByteArray("DE8X370400440532013000"),
         QStringLiteral(
             "Il carattere 4 («X») dovrebbe essere una cifra: è una delle cifre di controllo."),
         kNessuno);
}

void TestVerificaIBAN::esiti() {
    QFETCH(QByteArray, testo);
    QFETCH(Esito, esito);
    QFETCH(QByteArray, elettronico);
    QFETCH(QString, motivo);
    QFETCH(QStringList, suggerimenti);

    const Risultato r = verifica(vista(testo));
    QCOMPARE(r.esito, esito);
    QCOMPARE(qtesto(r.elettronico), QString::fromLatin1(elettronico));
    QCOMPARE(qtesto(verifier::motivo(r)), motivo);
    QCOMPARE(elenco(r.suggerimenti), suggerimenti);
    QVERIFY(!r.suggerimenti.troppi);
    // Every suggestion passes every check.
    for (const QString& iban : suggerimenti) {
        QVERIFY2(verifica(iban.toStdString()).valido(), qPrintable(iban));
    }
}

void TestVerificaIBAN::partiEForme_data() {
    QTest::addColumn<QByteArray>("testo");
    QTest::addColumn<QStringList>("parti");
    QTest::addColumn<QString>("cartaceo");
    QTest::addColumn<QString>("perCampi");
    QTest::addColumn<QString>("nota");

    riga("Italian", QByteArray("it60x0542811101000000123456"),
         QStringList{"IT", "60", "X", "05428", "11101", "000000123456"},
         QStringLiteral("IT60 X054 2811 1010 0000 0123 456"),
         QStringLiteral("IT 60 X 05428 11101 000000123456"), QString());
    riga("San Marino", QByteArray("SM86U0322509800000000270100"),
         QStringList{"SM", "86", "U", "03225", "09800", "000000270100"},
         QStringLiteral("SM86 U032 2509 8000 0000 0270 100"),
         QStringLiteral("SM 86 U 03225 09800 000000270100"), QString());
    // The fields of a wrong IBAN still show whose account was meant.
    riga("Italian, wrong CIN", QByteArray("IT65A0542811101000000123456"),
         QStringList{"IT", "65", "A", "05428", "11101", "000000123456"},
         QStringLiteral("IT65 A054 2811 1010 0000 0123 456"),
         QStringLiteral("IT 65 A 05428 11101 000000123456"), QString());
    riga("German: no Italian fields", QByteArray("DE89370400440532013000"),
         QStringList{"DE", "89", "", "", "", ""}, QStringLiteral("DE89 3704 0044 0532 0130 00"),
         QString(),
         QStringLiteral("Controllati lunghezza e cifre di controllo; il formato nazionale di DE "
                        "non è stato controllato."));
    riga("Italian, too short: country only", QByteArray("IT60X054281110100000012345"),
         QStringList{"IT", "", "", "", "", ""}, QStringLiteral("IT60 X054 2811 1010 0000 0123 45"),
         QString(), QString());
}

void TestVerificaIBAN::partiEForme() {
    QFETCH(QByteArray, testo);
    QFETCH(QStringList, parti);
    QFETCH(QString, cartaceo);
    QFETCH(QString, perCampi);
    QFETCH(QString, nota);

    const Risultato r = verifica(vista(testo));
    const QStringList trovate = {qtesto(r.paese()), qtesto(r.cifreControllo()),
                                 qtesto(r.cin()),   qtesto(r.abi()),
                                 qtesto(r.cab()),   qtesto(r.conto())};
    QCOMPARE(trovate, parti);
    QCOMPARE(qtesto(verifier::cartaceo(r.elettronico)), cartaceo);
    QCOMPARE(qtesto(verifier::perCampi(r)), perCampi);
    QCOMPARE(qtesto(verifier::nota(r)), nota);
}

// The registry's examples pass, in both their forms; one character less fails on the length
// the registry gives.
void TestVerificaIBAN::registro() {
    for (const Registrato& esempio : kRegistro) {
        const std::string iban = esempio.iban;
        const Risultato r = verifica(iban);
        QVERIFY2(r.valido(), esempio.iban);
        QCOMPARE(r.lunghezzaAttesa, esempio.lunghezza);
        QCOMPARE(int(iban.size()), esempio.lunghezza);
        QVERIFY2(verifica(cartaceo(iban)).valido(), esempio.iban);
        const Risultato corto = verifica(iban.substr(0, iban.size() - 1));
        QCOMPARE(corto.esito, Esito::Lunghezza);
    }
}

// More IBANs one slip away than the maximum: none is listed, and the excess is said.
void TestVerificaIBAN::troppiSuggerimenti() {
    Suggerimenti suggerimenti;
    suggerisci("IT60X0542811101000000123465", suggerimenti, 2);
    QCOMPARE(suggerimenti.numero, 2);
    QVERIFY(!suggerimenti.troppi);
    suggerisci("IT60X0542811101000000123465", suggerimenti, 1);
    QCOMPARE(suggerimenti.numero, 0);
    QVERIFY(suggerimenti.troppi);
}

// QString callers: positions count characters, also those outside the BMP.
void TestVerificaIBAN::adattatoreQt() {
    const Risultato r = verifica(QStringView(u"IT\U0001F600"));
    QCOMPARE(r.esito, Esito::CarattereNonAmmesso);
    QCOMPARE(r.rifiuto.posizione, 3u);
    QCOMPARE(r.rifiuto.carattere, char32_t(0x1F600));
    QVERIFY(verifier::sembraUnIBAN(QStringView(u" it60 x054 2811 1010 0000 0123 456 ")));
    QVERIFY(!verifier::sembraUnIBAN(QStringView(u"Fattura n. 12345 del 3 marzo")));
    QVERIFY(!verifier::sembraUnIBAN(QStringView(u"IT60")));
    // At most 128 bytes of UTF-8, however many characters.
    const QString iban = QStringLiteral("IT60X0542811101000000123456");
    QVERIFY(verifier::sembraUnIBAN(QString(128 - iban.size(), u' ') + iban));
    QVERIFY(!verifier::sembraUnIBAN(QString(129 - iban.size(), u' ') + iban));
    QVERIFY(!verifier::sembraUnIBAN(QString(127 - iban.size(), u' ') + u'\u00A0' + iban));
}

QTEST_APPLESS_MAIN(TestVerificaIBAN)
#include "tst_verifica_iban.moc"
