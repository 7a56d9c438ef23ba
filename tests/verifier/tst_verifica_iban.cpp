#include "forme.h"
#include "suggerimenti.h"
#include "testi.h"
#include "verifica_iban.h"
#include "verifica_qt.h"

#include <QTest>

#include <cstdlib>
#include <string>

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
// with the length and the BBAN structure the registry gives for each country: runs of
// "<count>!<kind>", n digits, a letters, c either.
struct Registrato {
    const char* iban;
    int lunghezza;
    const char* bban;
};
const Registrato kRegistro[] = {
    {"AD1200012030200359100100", 24, "4!n4!n12!c"},
    {"AE070331234567890123456", 23, "3!n16!n"},
    {"AL47212110090000000235698741", 28, "8!n16!c"},
    {"AT611904300234573201", 20, "5!n11!n"},
    {"AZ21NABZ00000000137010001944", 28, "4!a20!c"},
    {"BA391290079401028494", 20, "3!n3!n8!n2!n"},
    {"BE68539007547034", 16, "3!n7!n2!n"},
    {"BG80BNBG96611020345678", 22, "4!a4!n2!n8!c"},
    {"BH67BMAG00001299123456", 22, "4!a14!c"},
    {"BI4210000100010000332045181", 27, "5!n5!n11!n2!n"},
    {"BR1800360305000010009795493C1", 29, "8!n5!n10!n1!a1!c"},
    {"BY13NBRB3600900000002Z00AB00", 28, "4!c4!n16!c"},
    {"CH9300762011623852957", 21, "5!n12!c"},
    {"CR05015202001026284066", 22, "4!n14!n"},
    {"CY17002001280000001200527600", 28, "3!n5!n16!c"},
    {"CZ6508000000192000145399", 24, "4!n16!n"},
    {"DE89370400440532013000", 22, "8!n10!n"},
    {"DJ2100010000000154000100186", 27, "5!n5!n11!n2!n"},
    {"DK5000400440116243", 18, "4!n9!n1!n"},
    {"DO28BAGR00000001212453611324", 28, "4!c20!n"},
    {"EE382200221020145685", 20, "2!n14!n"},
    {"EG380019000500000000263180002", 29, "4!n4!n17!n"},
    {"ES9121000418450200051332", 24, "4!n4!n1!n1!n10!n"},
    {"FI2112345600000785", 18, "3!n11!n"},
    {"FK88SC123456789012", 18, "2!a12!n"},
    {"FO6264600001631634", 18, "4!n9!n1!n"},
    {"FR1420041010050500013M02606", 27, "5!n5!n11!c2!n"},
    {"GB29NWBK60161331926819", 22, "4!a6!n8!n"},
    {"GE29NB0000000101904917", 22, "2!a16!n"},
    {"GI75NWBK000000007099453", 23, "4!a15!c"},
    {"GL8964710001000206", 18, "4!n9!n1!n"},
    {"GR1601101250000000012300695", 27, "3!n4!n16!c"},
    {"GT82TRAJ01020000001210029690", 28, "4!c20!c"},
    {"HN88CABF00000000000250005469", 28, "4!a20!n"},
    {"HR1210010051863000160", 21, "7!n10!n"},
    {"HU42117730161111101800000000", 28, "3!n4!n1!n15!n1!n"},
    {"IE29AIBK93115212345678", 22, "4!a6!n8!n"},
    {"IL620108000000099999999", 23, "3!n3!n13!n"},
    {"IQ98NBIQ850123456789012", 23, "4!a3!n12!n"},
    {"IS140159260076545510730339", 26, "4!n2!n6!n10!n"},
    {"IT60X0542811101000000123456", 27, "1!a5!n5!n12!c"},
    {"JO94CBJO0010000000000131000302", 30, "4!a4!n18!c"},
    {"KW81CBKU0000000000001234560101", 30, "4!a22!c"},
    {"KZ86125KZT5004100100", 20, "3!n13!c"},
    {"LB62099900000001001901229114", 28, "4!n20!c"},
    {"LC55HEMM000100010012001200023015", 32, "4!a24!c"},
    {"LI21088100002324013AA", 21, "5!n12!c"},
    {"LT121000011101001000", 20, "5!n11!n"},
    {"LU280019400644750000", 20, "3!n13!c"},
    {"LV80BANK0000435195001", 21, "4!a13!c"},
    {"LY83002048000020100120361", 25, "3!n3!n15!n"},
    {"MC5811222000010123456789030", 27, "5!n5!n11!c2!n"},
    {"MD24AG000225100013104168", 24, "2!c18!c"},
    {"ME25505000012345678951", 22, "3!n13!n2!n"},
    {"MK07250120000058984", 19, "3!n10!c2!n"},
    {"MN121234123456789123", 20, "4!n12!n"},
    {"MR1300020001010000123456753", 27, "5!n5!n11!n2!n"},
    {"MT84MALT011000012345MTLCAST001S", 31, "4!a5!n18!c"},
    {"MU17BOMM0101101030300200000MUR", 30, "4!a2!n2!n12!n3!n3!a"},
    {"NI45BAPR00000013000003558124", 28, "4!a20!n"},
    {"NL91ABNA0417164300", 18, "4!a10!n"},
    {"NO9386011117947", 15, "4!n6!n1!n"},
    {"OM810180000001299123456", 23, "3!n16!c"},
    {"PK36SCBL0000001123456702", 24, "4!a16!c"},
    {"PL61109010140000071219812874", 28, "8!n16!n"},
    {"PS92PALS000000000400123456702", 29, "4!a21!c"},
    {"PT50000201231234567890154", 25, "4!n4!n11!n2!n"},
    {"QA58DOHB00001234567890ABCDEFG", 29, "4!a21!c"},
    {"RO49AAAA1B31007593840000", 24, "4!a16!c"},
    {"RS35260005601001611379", 22, "3!n13!n2!n"},
    {"RU0304452522540817810538091310419", 33, "9!n5!n15!c"},
    {"SA0380000000608010167519", 24, "2!n18!c"},
    {"SC18SSCB11010000000000001497USD", 31, "4!a2!n2!n16!n3!a"},
    {"SD2129010501234001", 18, "2!n12!n"},
    {"SE4550000000058398257466", 24, "3!n16!n1!n"},
    {"SI56263300012039086", 19, "5!n8!n2!n"},
    {"SK3112000000198742637541", 24, "4!n6!n10!n"},
    {"SM86U0322509800000000270100", 27, "1!a5!n5!n12!c"},
    {"SO211000001001000100141", 23, "4!n3!n12!n"},
    {"ST23000100010051845310146", 25, "4!n4!n11!n2!n"},
    {"SV62CENR00000000000000700025", 28, "4!a20!n"},
    {"TL380080012345678910157", 23, "3!n14!n2!n"},
    {"TN5910006035183598478831", 24, "2!n3!n13!n2!n"},
    {"TR330006100519786457841326", 26, "5!n1!n16!c"},
    {"UA213223130000026007233566001", 29, "6!n19!c"},
    {"VA59001123000012345678", 22, "3!n15!n"},
    {"VG96VPVG0000012345678901", 24, "4!a16!n"},
    {"XK051212012345678906", 20, "4!n10!n2!n"},
    {"YE15CBYE0001018861234567891234", 30, "4!a4!n18!c"},
};

// The kind (n, a or c) of each place of a BBAN written as the registry writes it.
std::string tipi(const char* bban) {
    std::string tipo;
    for (const char* p = bban; *p != 0;) {
        const int quanti = std::atoi(p);
        while (*p != '!') {
            ++p;
        }
        tipo.append(quanti, p[1]);
        p += 2;
    }
    return tipo;
}

// `iban` with the check digits that make it pass MOD 97-10, worked out digit by digit.
std::string conCifreGiuste(std::string iban) {
    iban[2] = iban[3] = '0';
    int resto = 0;
    for (const char c : iban.substr(4) + iban.substr(0, 4)) {
        resto = c <= '9' ? (resto * 10 + (c - '0')) % 97 : (resto * 100 + (c - 'A' + 10)) % 97;
    }
    const int cifre = 98 - resto;
    iban[2] = static_cast<char>('0' + cifre / 10);
    iban[3] = static_cast<char>('0' + cifre % 10);
    return iban;
}

} // namespace

Q_DECLARE_METATYPE(verifier::Tipo)

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
    riga("Codice IBAN:", QByteArray("Codice IBAN: IT60 X054 2811 1010 0000 0123 456"), valido,
         kEsempio, nessuno, kNessuno);
    riga("IBAN n.", QByteArray("IBAN n. IT60X0542811101000000123456"), valido, kEsempio, nessuno,
         kNessuno);
    riga("IBAN n°, codice in capitals",
         QByteArray("CODICE IBAN N\u00B0 IT60X0542811101000000123456"), valido, kEsempio, nessuno,
         kNessuno);
    // The label's "n." is no Norwegian IBAN's N.
    riga("label before NO", QByteArray("IBAN NO93 8601 1117 947"), valido,
         QByteArray("NO9386011117947"), nessuno, kNessuno);
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
    riga("bidirectional mark by its code", QByteArray("IT60\u061CX054"), rifiutato, niente,
         QStringLiteral("Il carattere U+061C in posizione 5 non può stare in un IBAN."), kNessuno);
    riga("C1 control by its code", QByteArray("IT60\u009BX054"), rifiutato, niente,
         QStringLiteral("Il carattere U+009B in posizione 5 non può stare in un IBAN."), kNessuno);
    riga("combining mark by its code", QByteArray("IT60X\u0301"), rifiutato, niente,
         QStringLiteral("Il carattere U+0301 in posizione 6 non può stare in un IBAN."), kNessuno);
    riga("carriage return", QByteArray("IT60X\r"), rifiutato, niente,
         QStringLiteral("Il carattere U+000D in posizione 6 non può stare in un IBAN."), kNessuno);
    riga("not UTF-8", QByteArray("IT60\xFFX"), rifiutato, niente,
         QStringLiteral("Il testo ha un byte non valido (0xFF) in posizione 5."), kNessuno);
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
    // A word before the IBAN is named, whichever check it makes fail.
    riga("word before", QByteArray("CONTO IT60X0542811101000000123456"), Esito::PaeseSconosciuto,
         QByteArray("CONTOIT60X0542811101000000123456"),
         QStringLiteral("La parola «CONTO» all'inizio non fa parte dell'IBAN."), kNessuno);
    riga("word and colon before", QByteArray("Conto: IT60X0542811101000000123456"), rifiutato,
         niente, QStringLiteral("La parola «Conto» all'inizio non fa parte dell'IBAN."), kNessuno);
    riga("country before", QByteArray("DE IT60X0542811101000000123456"), Esito::Lunghezza,
         QByteArray("DEIT60X0542811101000000123456"),
         QStringLiteral("La parola «DE» all'inizio non fa parte dell'IBAN."), kNessuno);

    const QString vuoto = QStringLiteral("Nessun IBAN da verificare: il testo è vuoto.");
    riga("empty", QByteArray(), Esito::Vuoto, niente, vuoto, kNessuno);
    riga("blanks only", QByteArray(" \t\u00A0\u200B"), Esito::Vuoto, niente, vuoto, kNessuno);
    riga("label only", QByteArray("IBAN: "), Esito::Vuoto, niente, vuoto, kNessuno);
    riga("Codice IBAN: only", QByteArray("Codice IBAN:"), Esito::Vuoto, niente, vuoto, kNessuno);

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
         QStringLiteral("Gli IBAN italiani (IT) hanno 27 caratteri, questo ne ha 26."),
         kEsempioSoltanto);
    riga("Italian, one character extra", QByteArray("IT60X05428111010000000123456"),
         Esito::Lunghezza, QByteArray("IT60X05428111010000000123456"),
         QStringLiteral("Gli IBAN italiani (IT) hanno 27 caratteri, questo ne ha 28."),
         kEsempioSoltanto);
    // One extra letter in front makes the length of another country's IBANs, 28.
    riga("Italian, extra letter makes Nicaragua", QByteArray("NIT60X0542811101000000123456"),
         Esito::Struttura, QByteArray("NIT60X0542811101000000123456"),
         QStringLiteral("Il carattere «T» in posizione 3 dovrebbe essere una cifra: è una delle "
                        "cifre di controllo."),
         kEsempioSoltanto);
    riga("San Marino, extra letter makes El Salvador", QByteArray("SVM86U0322509800000000270100"),
         Esito::Struttura, QByteArray("SVM86U0322509800000000270100"),
         QStringLiteral("Il carattere «M» in posizione 3 dovrebbe essere una cifra: è una delle "
                        "cifre di controllo."),
         QStringList{QStringLiteral("SM86U0322509800000000270100")});
    riga("German, too long: no suggestion", QByteArray("DE893704004405320130001"), Esito::Lunghezza,
         QByteArray("DE893704004405320130001"),
         QStringLiteral("Gli IBAN tedeschi (DE) hanno 22 caratteri, questo ne ha 23."), kNessuno);
    // Positions count characters of the text as given, label and blanks included.
    riga("letter in the check digits, after a label",
         QByteArray("IBAN: IT6O X054 2811 1010 0000 0123 456"), Esito::Struttura,
         QByteArray("IT6OX0542811101000000123456"),
         QStringLiteral("Il carattere «O» in posizione 10 dovrebbe essere una cifra: è una delle "
                        "cifre di controllo."),
         kEsempioSoltanto);
    riga("digit for the CIN", QByteArray("IT6000542811101000000123456"), Esito::Struttura,
         QByteArray("IT6000542811101000000123456"),
         QStringLiteral("Il carattere «0» in posizione 5 dovrebbe essere una lettera: è il CIN."),
         kEsempioSoltanto);
    riga(
        "letter in the ABI", QByteArray("IT60X0542S11101000000123456"), Esito::Struttura,
        QByteArray("IT60X0542S11101000000123456"),
        QStringLiteral(
            "Il carattere «S» in posizione 10 dovrebbe essere una cifra: fa parte del codice ABI."),
        kEsempioSoltanto);
    riga(
        "lower-case l in the CAB, printed", QByteArray("IT60 X054 2811 l010 0000 0123 456"),
        Esito::Struttura, QByteArray("IT60X0542811L01000000123456"),
        QStringLiteral(
            "Il carattere «L» in posizione 16 dovrebbe essere una cifra: fa parte del codice CAB."),
        kEsempioSoltanto);
    // A value to type is named only when typing it alone gives the one valid IBAN a slip away;
    // otherwise obeying could give the valid IBAN of another account.
    riga("wrong CIN, right MOD 97-10: no single fix", QByteArray("IT65A0542811101000000123456"),
         Esito::Controllo, QByteArray("IT65A0542811101000000123456"),
         QStringLiteral("Il CIN A non torna con ABI, CAB e conto, anche se le cifre di controllo "
                        "tornano: probabilmente c'è un errore in ABI, CAB o nel conto."),
         kNessuno);
    riga("wrong check digits", QByteArray("IT61X0542811101000000123456"), Esito::Controllo,
         QByteArray("IT61X0542811101000000123456"),
         QStringLiteral("Le cifre di controllo sono 61, ma dovrebbero essere 60."),
         kEsempioSoltanto);
    riga("wrong check digits, or a slip in the account", QByteArray("IT10X0542811101000000123456"),
         Esito::Controllo, QByteArray("IT10X0542811101000000123456"),
         QStringLiteral("Le cifre di controllo 10 non tornano con CIN, ABI, CAB e conto: possono "
                        "essere sbagliate le cifre di controllo, oppure ABI, CAB o il conto. "
                        "Controlla i suggerimenti."),
         QStringList{QString::fromLatin1(kEsempio), QStringLiteral("IT10X0542811101000A00123456")});
    riga("wrong CIN", QByteArray("IT60Y0542811101000000123456"), Esito::Controllo,
         QByteArray("IT60Y0542811101000000123456"),
         QStringLiteral("Il CIN è Y, ma per ABI, CAB e conto dovrebbe essere X."),
         kEsempioSoltanto);
    riga("wrong CIN, or a slip in the ABI", QByteArray("IT60B0542811101000000123456"),
         Esito::Controllo, QByteArray("IT60B0542811101000000123456"),
         QStringLiteral("Il CIN B non torna con ABI, CAB e conto: può essere sbagliato il CIN, "
                        "oppure ABI, CAB o il conto. Controlla i suggerimenti."),
         QStringList{QString::fromLatin1(kEsempio), QStringLiteral("IT60B0546811101000000123456")});
    riga("slip in the account: both wrong", QByteArray("IT60X0542811101000000123457"),
         Esito::Controllo, QByteArray("IT60X0542811101000000123457"),
         QStringLiteral("Né il CIN né le cifre di controllo tornano con ABI, CAB e conto: "
                        "probabilmente c'è un errore di battitura in ABI, CAB o nel conto. "
                        "Controlla i suggerimenti."),
         kEsempioSoltanto);
    // 00 and 97 (01 and 98) leave the same remainder: MOD 97-10 alone would pass them.
    riga("check digits 00 for 97", QByteArray("IT00J1234567890000000000102"), Esito::Controllo,
         QByteArray("IT00J1234567890000000000102"),
         QStringLiteral("Le cifre di controllo sono 00, ma dovrebbero essere 97."), kNessuno);
    riga("check digits 01 for 98", QByteArray("IT01F1234567890000000000087"), Esito::Controllo,
         QByteArray("IT01F1234567890000000000087"),
         QStringLiteral("Le cifre di controllo sono 01, ma dovrebbero essere 98."), kNessuno);
    riga("San Marino, wrong CIN", QByteArray("SM86B0322509800000000270100"), Esito::Controllo,
         QByteArray("SM86B0322509800000000270100"),
         QStringLiteral("Il CIN è B, ma per ABI, CAB e conto dovrebbe essere U."),
         QStringList{QStringLiteral("SM86U0322509800000000270100")});
    riga("San Marino, wrong CIN or a slip in the CAB", QByteArray("SM86A0322509800000000270100"),
         Esito::Controllo, QByteArray("SM86A0322509800000000270100"),
         QStringLiteral("Il CIN A non torna con ABI, CAB e conto: può essere sbagliato il CIN, "
                        "oppure ABI, CAB o il conto. Controlla i suggerimenti."),
         QStringList{QStringLiteral("SM86U0322509800000000270100"),
                     QStringLiteral("SM86A0322509800300000270100")});
    // Without a CIN a slip anywhere moves the check digits: they are not named.
    riga("German, wrong check digits: no value", QByteArray("DE88370400440532013000"),
         Esito::Controllo, QByteArray("DE88370400440532013000"),
         QStringLiteral("Le cifre di controllo 88 non tornano con il resto dell'IBAN: è sbagliata "
                        "una cifra di controllo o un altro carattere."),
         kNessuno);
    riga("German, letter in the check digits", QByteArray("DE8X370400440532013000"),
         Esito::Struttura, QByteArray("DE8X370400440532013000"),
         QStringLiteral("Il carattere «X» in posizione 4 dovrebbe essere una cifra: è una delle "
                        "cifre di controllo."),
         kNessuno);
    riga("German, letter in the account", QByteArray("DE89 3704 0044 0532 0130 0A"),
         Esito::Struttura, QByteArray("DE8937040044053201300A"),
         QStringLiteral("Il carattere «A» in posizione 27 dovrebbe essere una cifra, come vuole "
                        "il formato degli IBAN tedeschi (DE)."),
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
         QStringLiteral("Controllati lunghezza, formato e cifre di controllo; gli eventuali "
                        "controlli nazionali degli IBAN tedeschi (DE) non sono stati fatti."));
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
// the registry gives. Each place of the BBAN is then given a character of the other kind, with
// the check digits made to pass again: a place for digits or for letters refuses it, naming it
// and its country; a place for either takes it. (Guatemala's and Moldova's BBANs take either
// everywhere.)
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

        const std::string tipo = tipi(esempio.bban);
        QCOMPARE(int(tipo.size()) + 4, esempio.lunghezza);
        bool nominato = false;
        for (std::size_t k = 0; k < tipo.size(); ++k) {
            const std::size_t p = k + 4;
            std::string variante = iban;
            const bool cifra = variante[p] <= '9';
            variante[p] = cifra ? 'A' : '0';
            variante = conCifreGiuste(variante);
            const Risultato v = verifica(variante);
            if (tipo[k] == 'c') {
                QVERIFY2(v.esito != Esito::Struttura, variante.c_str());
                continue;
            }
            QVERIFY2(v.esito == Esito::Struttura, variante.c_str());
            QCOMPARE(v.struttura.indice, std::uint32_t(p));
            QCOMPARE(v.struttura.atteso, cifra ? Tipo::Cifra : Tipo::Lettera);
            if (!nominato && !r.bbanItaliano) {
                const QString motivo = qtesto(verifier::motivo(v));
                const QString inizio = QStringLiteral("Il carattere «%1» in posizione %2 dovrebbe "
                                                      "essere %3, come vuole il formato degli "
                                                      "IBAN ")
                                           .arg(QChar(variante[p]))
                                           .arg(p + 1)
                                           .arg(cifra ? "una cifra" : "una lettera");
                QVERIFY2(motivo.startsWith(inizio), qPrintable(motivo));
                QVERIFY2(motivo.endsWith(QStringLiteral(" (%1).").arg(iban.substr(0, 2).c_str())),
                         qPrintable(motivo));
                nominato = true;
            }
        }
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
